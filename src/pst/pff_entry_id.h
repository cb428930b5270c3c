#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qb {

/// What an EntryID names: a store opened during this run and an item in its file.
struct PffEntryId {
    std::uint32_t storeNumber = 0;
    std::uint32_t itemIdentifier = 0;
    friend bool operator==(const PffEntryId &, const PffEntryId &) = default;
};

/// The EntryID text: 24 upper-case hex digits, a fixed mark, the store number, the item.
std::string FormatEntryId(const PffEntryId &id);

/// The store and item an EntryID text names (hex digits in either case), or nothing when the
/// text is not one of ours.
std::optional<PffEntryId> ParseEntryId(std::string_view text);

} // namespace qb
