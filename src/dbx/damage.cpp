#include "dbx/damage.h"

#include <charconv>

namespace qb::dbx {

std::string HexOffset(std::uint64_t offset) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, offset, 16).ptr;
    return "0x" + std::string(digits, end);
}

} // namespace qb::dbx
