#include "pst/pff_entry_id.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace qb {
namespace {

// "QBPF": marks the text as an EntryID of this mail store.
constexpr std::uint32_t entryIdMark = 0x51425046;
constexpr std::size_t fieldDigits = 8;

std::optional<std::uint32_t> HexField(std::string_view text, std::size_t field) {
    const std::string_view digits = text.substr(field * fieldDigits, fieldDigits);
    std::uint32_t value = 0;
    const auto [end, error] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

} // namespace

std::string FormatEntryId(const PffEntryId &id) {
    char text[3 * fieldDigits + 1];
    std::snprintf(text, sizeof text, "%08X%08X%08X", entryIdMark, id.storeNumber,
                  id.itemIdentifier);
    return text;
}

std::optional<PffEntryId> ParseEntryId(std::string_view text) {
    if (text.size() != 3 * fieldDigits)
        return std::nullopt;
    for (char c : text)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    const auto mark = HexField(text, 0);
    const auto store = HexField(text, 1);
    const auto item = HexField(text, 2);
    if (!mark || *mark != entryIdMark || !store || !item)
        return std::nullopt;
    return PffEntryId{*store, *item};
}

} // namespace qb
