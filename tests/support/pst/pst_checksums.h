#pragma once

#include "support/pst/pst_bytes.h"

#include <cstdint>

namespace qb::pstmaker {

/// The 32-bit CRC that Outlook data files and compressed RTF use: the reflected polynomial
/// 0xEDB88320, started from `crc` (0 for a fresh sum) and not inverted at either end.
std::uint32_t Crc32(ByteView bytes, std::uint32_t crc = 0);

/// The 16-bit signature of a block or page: its file offset and its id folded together.
std::uint16_t BlockSignature(std::uint64_t offset, std::uint64_t id);

} // namespace qb::pstmaker
