#pragma once

#include "platform/clock.h"

#include <cstdint>
#include <string>

namespace qb {

/// A FILETIME (100-nanosecond ticks since 1601-01-01 UTC) as local date and time.
LocalDateTime FiletimeToLocal(std::uint64_t filetime);

/// Readable English form such as "Sunday, March 3, 2024 2:05 PM".
std::string FormatLongDateTime(const LocalDateTime &time);

} // namespace qb
