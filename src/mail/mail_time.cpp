#include "mail/mail_time.h"

#include <array>
#include <cstdio>
#include <ctime>

namespace qb::mail {
namespace {

constexpr std::array<const char *, 7> weekdays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
constexpr std::array<const char *, 12> months{"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};

/// Day of the week, 0 = Sunday (Sakamoto's method, proleptic Gregorian calendar).
int Weekday(int year, int month, int day) {
    static constexpr std::array<int, 12> offsets{0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        year -= 1;
    const int weekday = (year + year / 4 - year / 100 + year / 400 +
                         offsets[static_cast<std::size_t>(month - 1)] + day) %
                        7;
    return weekday < 0 ? weekday + 7 : weekday;
}

} // namespace

LocalDateTime LocalTime(Instant instant) {
    const std::time_t seconds = static_cast<std::time_t>(instant.time_since_epoch().count());
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return {};
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string FormatLongDateTime(const LocalDateTime &time) {
    if (time.month < 1 || time.month > 12)
        return {};
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    const char *half = time.hour < 12 ? "AM" : "PM";
    char minute[8];
    std::snprintf(minute, sizeof minute, "%02d", time.minute % 60);
    return std::string(
               weekdays[static_cast<std::size_t>(Weekday(time.year, time.month, time.day))]) +
           ", " + months[static_cast<std::size_t>(time.month - 1)] + " " +
           std::to_string(time.day) + ", " + std::to_string(time.year) + " " +
           std::to_string(hour12) + ":" + minute + " " + half;
}

} // namespace qb::mail
