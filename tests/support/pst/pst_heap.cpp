#include "support/pst/pst_heap.h"

#include "support/pst/pst_node_database.h"

#include "failure/failure.h"

#include <array>

namespace qb::pstmaker {
namespace {

constexpr std::uint8_t heapSignature = 0xEC;
constexpr std::size_t firstHeaderSize = 12;
constexpr std::size_t bitmapHeaderSize = 66;
constexpr std::size_t pageHeaderSize = 2;
constexpr std::size_t maxItemsPerBlock = 2047;

bool IsBitmapBlock(std::size_t index) {
    return index >= 8 && (index - 8) % 128 == 0;
}

/// Fill levels: 0 for 3584 free bytes or more, down to 15 for fewer than 8.
std::uint8_t FillLevelOf(std::size_t freeBytes) {
    static constexpr std::array<std::size_t, 15> thresholds = {
        3584, 2560, 2048, 1792, 1536, 1280, 1024, 768, 512, 256, 128, 64, 32, 16, 8};
    for (std::size_t level = 0; level < thresholds.size(); ++level)
        if (freeBytes >= thresholds[level])
            return static_cast<std::uint8_t>(level);
    return 15;
}

} // namespace

HeapBuilder::HeapBuilder(HeapClient client) : client_(client) {
    blocks_.emplace_back();
}

std::size_t HeapBuilder::headerSize(std::size_t blockIndex) {
    if (blockIndex == 0)
        return firstHeaderSize;
    return IsBitmapBlock(blockIndex) ? bitmapHeaderSize : pageHeaderSize;
}

std::size_t HeapBuilder::mapSize(std::size_t itemCount) {
    return 4 + 2 * (itemCount + 1);
}

std::size_t HeapBuilder::usedBytes(std::size_t index) const {
    const Block &block = blocks_[index];
    const std::size_t items = headerSize(index) + block.itemBytes;
    return items + items % 2 + mapSize(block.items.size());
}

HeapId HeapBuilder::allocate(ByteView item) {
    Block *block = &blocks_.back();
    const std::size_t index = blocks_.size() - 1;
    const std::size_t items = headerSize(index) + block->itemBytes + item.size();
    if (block->items.size() == maxItemsPerBlock ||
        items + items % 2 + mapSize(block->items.size() + 1) > maxBlockData) {
        blocks_.emplace_back();
        block = &blocks_.back();
    }
    block->items.emplace_back(item.begin(), item.end());
    block->itemBytes += item.size();
    const auto blockIndex = static_cast<HeapId>(blocks_.size() - 1);
    const auto itemIndex = static_cast<HeapId>(block->items.size());
    return (blockIndex << 16) | (itemIndex << 5);
}

void HeapBuilder::overwrite(HeapId id, ByteView item) {
    Bytes &stored = blocks_[id >> 16].items[((id >> 5) & 0x7FF) - 1];
    if (stored.size() != item.size())
        throw Failure(error_number::invalidProcedureCall, "PstStoreWriter",
                      "a heap item was overwritten with another size");
    stored.assign(item.begin(), item.end());
}

std::uint8_t HeapBuilder::fillLevel(std::size_t index) const {
    if (index >= blocks_.size())
        return 0;
    // Blocks before the last are padded to full size: their padding is their free space.
    return FillLevelOf(maxBlockData - usedBytes(index));
}

Bytes HeapBuilder::blockBytes(std::size_t index, bool last) const {
    const Block &block = blocks_[index];
    Bytes out;
    out.reserve(maxBlockData);
    std::size_t itemsEnd = headerSize(index) + block.itemBytes;
    itemsEnd += itemsEnd % 2;
    const std::size_t mapOffset = last ? itemsEnd : maxBlockData - mapSize(block.items.size());
    AppendLittleEndian(out, mapOffset, 2);
    if (index == 0) {
        out.push_back(heapSignature);
        out.push_back(static_cast<std::uint8_t>(client_));
        AppendLittleEndian(out, userRoot_, 4);
        for (std::size_t i = 0; i < 8; i += 2)
            out.push_back(static_cast<std::uint8_t>(fillLevel(i) | (fillLevel(i + 1) << 4)));
    } else if (IsBitmapBlock(index)) {
        for (std::size_t i = index; i < index + 128; i += 2)
            out.push_back(static_cast<std::uint8_t>(fillLevel(i) | (fillLevel(i + 1) << 4)));
    }
    std::vector<std::size_t> starts;
    for (const Bytes &item : block.items) {
        starts.push_back(out.size());
        AppendBytes(out, item);
    }
    starts.push_back(out.size());
    out.resize(mapOffset, 0);
    AppendLittleEndian(out, block.items.size(), 2);
    AppendLittleEndian(out, 0, 2);
    for (const std::size_t start : starts)
        AppendLittleEndian(out, start, 2);
    return out;
}

Bytes HeapBuilder::stream() const {
    Bytes out;
    for (std::size_t i = 0; i < blocks_.size(); ++i)
        AppendBytes(out, blockBytes(i, i + 1 == blocks_.size()));
    return out;
}

} // namespace qb::pstmaker
