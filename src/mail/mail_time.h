#pragma once

#include "platform/clock.h"

#include <chrono>
#include <string>

namespace qb::mail {

/// A moment in a message's life as the store keeps it: a point in UTC, to the second, from
/// which both the local time the windows show and an RFC 5322 Date header can be written.
using Instant = std::chrono::sys_seconds;

/// The moment as a date and time of the local time zone; the default LocalDateTime when the
/// system cannot place it.
LocalDateTime LocalTime(Instant instant);

/// Readable English form of a local time, such as "Sunday, March 3, 2024 2:05 PM"; empty for a
/// month that does not exist.
std::string FormatLongDateTime(const LocalDateTime &time);

} // namespace qb::mail
