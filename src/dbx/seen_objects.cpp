#include "dbx/seen_objects.h"

#include <algorithm>

namespace qb::dbx {
namespace {

constexpr std::uint64_t grain = 16;
constexpr std::uint64_t offsetLimit = std::uint64_t{1} << 32;

} // namespace

SeenObjects::SeenObjects(std::uint64_t fileSize)
    : taken_(static_cast<std::size_t>(std::min(fileSize, offsetLimit) / grain + 1)) {}

bool SeenObjects::markNew(std::uint64_t offset) {
    const std::uint64_t slot = offset / grain;
    if (slot >= taken_.size())
        return true;
    if (taken_[slot])
        return false;
    taken_[slot] = true;
    return true;
}

} // namespace qb::dbx
