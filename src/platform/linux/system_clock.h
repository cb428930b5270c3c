#pragma once

#include "platform/clock.h"

namespace qb {

/// The system's clock in local time.
class SystemClock : public Clock {
  public:
    LocalDateTime now() override;
    double secondsSinceMidnight() override;
    void sleep(int milliseconds) override;
};

} // namespace qb
