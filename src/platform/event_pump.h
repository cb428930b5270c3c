#pragma once

namespace qb {

/// The window event loop as seen from a long action running inside an event handler.
class EventPump {
  public:
    virtual ~EventPump() = default;
    /// Lets every pending window event run once.
    virtual void processEvents() = 0;
    /// Waits up to maxSeconds for window events and runs those that arrive.
    virtual void waitForEvents(double maxSeconds) = 0;
};

} // namespace qb
