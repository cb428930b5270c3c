#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qb::pstmaker {

using Bytes = std::vector<std::uint8_t>;
using ByteView = std::span<const std::uint8_t>;

/// Appends the lowest `width` bytes of value, least significant first.
void AppendLittleEndian(Bytes &out, std::uint64_t value, int width);

/// Overwrites `width` bytes at `at` with value, least significant first.
void StoreLittleEndian(std::uint8_t *at, std::uint64_t value, int width);

/// Appends the bytes of another buffer.
void AppendBytes(Bytes &out, ByteView bytes);

/// UTF-16LE of UTF-8 text, without a terminator. A malformed sequence becomes U+FFFD, so the
/// result always has an even size.
Bytes Utf16(std::string_view utf8);

/// UTF-8 of UTF-16LE text; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::string_view utf16);

/// value rounded up to a multiple of alignment.
constexpr std::uint64_t AlignUp(std::uint64_t value, std::uint64_t alignment) {
    return (value + alignment - 1) / alignment * alignment;
}

/// The bytes of text as they stand.
Bytes BytesOf(std::string_view text);

} // namespace qb::pstmaker
