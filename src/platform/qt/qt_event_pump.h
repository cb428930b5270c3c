#pragma once

#include "platform/event_pump.h"

namespace qb {

/// Runs pending window events of the Qt application inside long actions.
class QtEventPump : public EventPump {
  public:
    void processEvents() override;
    /// Sleeps in the event dispatcher until an event arrives or the time is up, then runs
    /// what arrived.
    void waitForEvents(double maxSeconds) override;
};

} // namespace qb
