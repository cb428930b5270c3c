#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace qb {

class PffItemHandle;

/// The most bytes an RTF body compressed into `compressedSize` bytes can give, with the two
/// closing NULs libpff adds. LZFu never expands more than eightfold: a two-byte reference gives
/// at most 17 bytes and a flag byte leads every eight of them. A larger size declared by a
/// damaged file is not there to read.
std::size_t LargestRtfBody(std::size_t compressedSize);

/// The message's RTF body, uncompressed, or nothing when it has none. Reads no more than the
/// compressed body can hold. Throws Failure naming the message when it cannot be read.
std::optional<std::string> ReadRtfBody(PffItemHandle &message);

} // namespace qb
