#pragma once

#include "mail/mail_time.h"
#include "platform/clock.h"

#include <cstdint>

namespace qb {

/// A FILETIME (100-nanosecond ticks since 1601-01-01 UTC) as the moment it names, to the second.
mail::Instant FiletimeInstant(std::uint64_t filetime);

/// A FILETIME as local date and time.
LocalDateTime FiletimeToLocal(std::uint64_t filetime);

} // namespace qb
