#pragma once

#include <chrono>
#include <future>
#include <utility>

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

/// Runs work on a thread of its own while the window's events keep running on this one, so that a
/// single long call into a library (opening a large store) does not freeze the window. The
/// window's events run at least once. Gives back what work gives back; rethrows what it throws.
template <class Work> auto WhileEventsRun(EventPump &events, Work work) {
    auto result = std::async(std::launch::async, std::move(work));
    do
        events.waitForEvents(0.05);
    while (result.wait_for(std::chrono::seconds(0)) != std::future_status::ready);
    return result.get();
}

} // namespace qb
