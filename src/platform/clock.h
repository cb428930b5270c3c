#pragma once

namespace qb {

/// A local date and time, to the second.
struct LocalDateTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool isMidnight() const { return hour == 0 && minute == 0 && second == 0; }
    friend bool operator==(const LocalDateTime &, const LocalDateTime &) = default;
};

/// Time as the program reads it: tests give a clock they set by hand and that never sleeps.
class Clock {
  public:
    virtual ~Clock() = default;
    /// The current local date and time.
    virtual LocalDateTime now() = 0;
    /// Seconds since local midnight, fractional; restarts at 0 after 86400.
    virtual double secondsSinceMidnight() = 0;
    /// Blocks the user-interface thread; window events do not run meanwhile.
    virtual void sleep(int milliseconds) = 0;
};

/// Seconds from start to now, both read from secondsSinceMidnight: a clock that passed midnight
/// meanwhile has started again at 0.
inline double SecondsBetween(double start, double now) {
    constexpr double secondsPerDay = 86400.0;
    return now >= start ? now - start : (secondsPerDay - start) + now;
}

} // namespace qb
