#include "dbx/message_info.h"

#include "dbx/damage.h"

#include <array>

namespace qb::dbx {
namespace {

constexpr std::uint64_t infoHeaderSize = 12;
constexpr std::uint64_t indexFieldSize = 4;
constexpr unsigned firstBlockField = 0x04;
constexpr unsigned char directValue = 0x80;

struct InfoHeader {
    std::uint64_t self = 0;
    std::uint64_t dataLength = 0;
    unsigned fieldCount = 0;
};

MessageStart FirstBlockOf(FileWindow &file, std::uint64_t infoOffset, const InfoHeader &header) {
    const std::uint64_t indexLength = header.fieldCount * indexFieldSize;
    if (indexLength > header.dataLength)
        return {0, "its info object's index is longer than the object", {}};
    // The field count is one byte, so the index always fits this.
    std::array<unsigned char, 255 * indexFieldSize> index;
    if (!file.read(infoOffset + infoHeaderSize, index.data(), indexLength))
        return {0, "its info object is cut off by the end of the file", {}};

    for (std::uint64_t at = 0; at < indexLength; at += indexFieldSize) {
        if ((index[at] & 0x7f) != firstBlockField)
            continue;
        const std::uint64_t value = index[at + 1] | index[at + 2] << 8 | index[at + 3] << 16;
        if (index[at] & directValue)
            return {value, value == 0 ? "it has no data block" : "", {}};
        // The value is a place in the data area that follows the index.
        if (value + 4 > header.dataLength - indexLength)
            return {0, "its first block's offset lies outside its info object", {}};
        const auto block = file.uint32At(infoOffset + infoHeaderSize + indexLength + value);
        if (!block)
            return {0, "its info object is cut off by the end of the file", {}};
        return {*block, *block == 0 ? "it has no data block" : "", {}};
    }
    return {0, "its info object names no message text", {}};
}

} // namespace

MessageStart FindMessageStart(FileWindow &file, std::uint64_t infoOffset) {
    std::array<unsigned char, infoHeaderSize> bytes{};
    if (!file.read(infoOffset, bytes.data(), bytes.size()))
        return {0, "its info object lies outside the file", {}};
    const InfoHeader header{LittleEndian32(bytes.data()), LittleEndian32(bytes.data() + 4),
                            bytes[0x0a]};
    MessageStart start = FirstBlockOf(file, infoOffset, header);
    if (header.self == infoOffset || !start.damage.empty())
        return start;
    // The object's own offset is only a cross-check: a sound index that leads to a block naming
    // itself shows that this is the object the tree meant.
    if (!NamesItself(file, start.firstBlock))
        return {0, "its info object does not name itself", {}};
    start.warning = "its info object says it lies at " + HexOffset(header.self) +
                    "; its index is sound, so it is read";
    return start;
}

} // namespace qb::dbx
