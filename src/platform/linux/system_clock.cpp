#include "platform/linux/system_clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace qb {
namespace {

std::tm localTime(std::time_t seconds) {
    std::tm parts{};
    localtime_r(&seconds, &parts);
    return parts;
}

} // namespace

LocalDateTime SystemClock::now() {
    const std::tm parts = localTime(std::time(nullptr));
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

double SystemClock::secondsSinceMidnight() {
    const auto since = std::chrono::system_clock::now().time_since_epoch();
    const auto wholeSeconds = std::chrono::floor<std::chrono::seconds>(since);
    const std::tm parts = localTime(static_cast<std::time_t>(wholeSeconds.count()));
    const double fraction = std::chrono::duration<double>(since - wholeSeconds).count();
    return parts.tm_hour * 3600.0 + parts.tm_min * 60.0 + parts.tm_sec + fraction;
}

void SystemClock::sleep(int milliseconds) {
    if (milliseconds > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace qb
