#include "support/pst/pst_checksums.h"

#include <array>

namespace qb::pstmaker {
namespace {

constexpr std::array<std::uint32_t, 256> CrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        table[i] = value;
    }
    return table;
}

constexpr auto crcTable = CrcTable();

} // namespace

std::uint32_t Crc32(ByteView bytes, std::uint32_t crc) {
    for (const std::uint8_t byte : bytes)
        crc = crcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc;
}

std::uint16_t BlockSignature(std::uint64_t offset, std::uint64_t id) {
    const std::uint64_t folded = offset ^ id;
    return static_cast<std::uint16_t>(static_cast<std::uint16_t>(folded >> 16) ^
                                      static_cast<std::uint16_t>(folded));
}

} // namespace qb::pstmaker
