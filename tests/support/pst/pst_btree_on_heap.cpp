#include "support/pst/pst_btree_on_heap.h"

#include <algorithm>

namespace qb::pstmaker {
namespace {

constexpr std::uint8_t treeSignature = 0xB5;
constexpr std::size_t heapIdSize = 4;

struct Level {
    std::vector<Bytes> firstKeys;
    std::vector<HeapId> items;
};

/// Packs records into heap items; returns the first key and id of each item.
Level PackLevel(HeapBuilder &heap, const std::vector<Bytes> &records, std::size_t keySize,
                std::size_t recordSize) {
    const std::size_t perItem = maxHeapItem / recordSize;
    Level level;
    for (std::size_t first = 0; first < records.size(); first += perItem) {
        const std::size_t count = std::min(perItem, records.size() - first);
        Bytes item;
        for (std::size_t i = first; i < first + count; ++i)
            AppendBytes(item, records[i]);
        level.firstKeys.emplace_back(records[first].begin(), records[first].begin() + keySize);
        level.items.push_back(heap.allocate(item));
    }
    return level;
}

Bytes TreeHeader(std::size_t keySize, std::size_t dataSize, std::size_t indexLevels, HeapId root) {
    Bytes header{treeSignature, static_cast<std::uint8_t>(keySize),
                 static_cast<std::uint8_t>(dataSize), static_cast<std::uint8_t>(indexLevels)};
    AppendLittleEndian(header, root, 4);
    return header;
}

} // namespace

HeapId ReserveHeapTreeHeader(HeapBuilder &heap) {
    return heap.allocate(Bytes(8, 0));
}

void BuildHeapTree(HeapBuilder &heap, HeapId header, std::size_t keySize, std::size_t dataSize,
                   const std::vector<Bytes> &sortedRecords) {
    heap.overwrite(header, TreeHeader(keySize, dataSize, 0, 0));
    if (sortedRecords.empty())
        return;
    Level level = PackLevel(heap, sortedRecords, keySize, keySize + dataSize);
    std::size_t indexLevels = 0;
    while (level.items.size() > 1) {
        std::vector<Bytes> entries;
        for (std::size_t i = 0; i < level.items.size(); ++i) {
            Bytes entry = level.firstKeys[i];
            AppendLittleEndian(entry, level.items[i], heapIdSize);
            entries.push_back(std::move(entry));
        }
        level = PackLevel(heap, entries, keySize, keySize + heapIdSize);
        ++indexLevels;
    }
    heap.overwrite(header, TreeHeader(keySize, dataSize, indexLevels, level.items.front()));
}

} // namespace qb::pstmaker
