#include "pst/pff_time.h"

namespace qb {
namespace {

constexpr std::int64_t ticksPerSecond = 10'000'000;
constexpr std::int64_t secondsFrom1601To1970 = 11'644'473'600;

} // namespace

mail::Instant FiletimeInstant(std::uint64_t filetime) {
    return mail::Instant(std::chrono::seconds(static_cast<std::int64_t>(filetime / ticksPerSecond) -
                                              secondsFrom1601To1970));
}

LocalDateTime FiletimeToLocal(std::uint64_t filetime) {
    return mail::LocalTime(FiletimeInstant(filetime));
}

} // namespace qb
