#include "support/pst/pst_table_context.h"

#include "support/pst/pst_btree_on_heap.h"
#include "support/pst/pst_property_context.h"

#include <algorithm>
#include <numeric>

namespace qb::pstmaker {
namespace {

constexpr std::uint8_t tableSignature = 0x7C;
constexpr std::uint32_t rowIdTag = 0x67F20003;
constexpr std::uint32_t rowVersionTag = 0x67F30003;

} // namespace

TableContextBuilder::TableContextBuilder(NodeDatabase &database,
                                         std::vector<std::uint32_t> columnTags)
    : database_(database), heap_(HeapClient::table) {
    std::erase_if(columnTags,
                  [](std::uint32_t tag) { return tag == rowIdTag || tag == rowVersionTag; });
    std::sort(columnTags.begin(), columnTags.end());
    // The row id leads the row and the row version follows; then the cells of eight and four
    // bytes, of two, of one; then the bitmap of cells present.
    std::vector<std::uint32_t> order = {rowIdTag, rowVersionTag};
    const std::vector<std::vector<std::size_t>> groups = {{8, 4}, {2}, {1}};
    std::uint16_t offset = 8;
    for (std::size_t group = 0; group < groups.size(); ++group) {
        for (const std::size_t size : groups[group])
            for (const std::uint32_t tag : columnTags)
                if (CellSize(TypeOf(tag)) == size) {
                    order.push_back(tag);
                    offset = static_cast<std::uint16_t>(offset + size);
                }
        groupEnds_[group] = offset;
    }
    offset = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto size = static_cast<std::uint8_t>(CellSize(TypeOf(order[i])));
        columns_.push_back({order[i], offset, size, static_cast<std::uint8_t>(i)});
        offset = static_cast<std::uint16_t>(offset + size);
    }
    rowSize_ = static_cast<std::uint16_t>(offset + (columns_.size() + 7) / 8);
    groupEnds_[3] = rowSize_;
    info_ = heap_.allocate(Bytes(22 + 8 * columns_.size(), 0));
}

const TableContextBuilder::Column *TableContextBuilder::column(std::uint32_t tag) const {
    for (const Column &candidate : columns_)
        if (candidate.tag == tag)
            return &candidate;
    return nullptr;
}

void TableContextBuilder::addRow(std::uint32_t rowId,
                                 const std::vector<std::pair<std::uint32_t, Bytes>> &cells) {
    const std::size_t start = rows_.size();
    rows_.resize(start + rowSize_, 0);
    std::uint8_t *row = rows_.data() + start;
    std::uint8_t *present = row + groupEnds_[2];
    auto setCell = [&](const Column &cell, ByteView value) {
        std::copy(value.begin(), value.end(), row + cell.offset);
        present[cell.bit / 8] |= static_cast<std::uint8_t>(0x80 >> (cell.bit % 8));
    };
    setCell(columns_[0], Integer32Value(rowId));
    setCell(columns_[1], Integer32Value(0));
    for (const auto &[tag, value] : cells) {
        const Column *cell = column(tag);
        if (!cell)
            continue;
        const std::uint16_t type = TypeOf(tag);
        if (IsInlineType(type) || CellSize(type) == 8) {
            Bytes sized = value;
            sized.resize(cell->size, 0);
            setCell(*cell, sized);
        } else if (value.size() <= maxHeapItem) {
            setCell(*cell, Integer32Value(heap_.allocate(value)));
        } else {
            const NodeId node = subnodes_.nextValueNode();
            subnodes_.add(node, WriteDataTree(database_, value), 0);
            setCell(*cell, Integer32Value(node));
        }
    }
    rowIds_.push_back(rowId);
}

NodeContent TableContextBuilder::write() {
    std::vector<std::size_t> byId(rowIds_.size());
    std::iota(byId.begin(), byId.end(), 0);
    std::sort(byId.begin(), byId.end(),
              [&](std::size_t a, std::size_t b) { return rowIds_[a] < rowIds_[b]; });
    std::vector<Bytes> records;
    records.reserve(byId.size());
    for (const std::size_t index : byId) {
        Bytes record;
        AppendLittleEndian(record, rowIds_[index], 4);
        AppendLittleEndian(record, index, 4);
        records.push_back(std::move(record));
    }
    const HeapId rowIndex = ReserveHeapTreeHeader(heap_);
    BuildHeapTree(heap_, rowIndex, 4, 4, records);
    records = {};

    std::uint32_t rowsReference = 0;
    if (!rows_.empty() && rows_.size() <= maxHeapItem) {
        rowsReference = heap_.allocate(rows_);
    } else if (!rows_.empty()) {
        // Rows never straddle blocks: each block holds whole rows and is padded to 8176 bytes.
        const std::size_t rowsPerBlock = maxBlockData / rowSize_;
        DataTreeWriter matrix(database_);
        const Bytes padding(maxBlockData - rowsPerBlock * rowSize_, 0);
        for (std::size_t first = 0; first < rowIds_.size(); first += rowsPerBlock) {
            const std::size_t count = std::min(rowsPerBlock, rowIds_.size() - first);
            matrix.append(ByteView(rows_.data() + first * rowSize_, count * rowSize_));
            if (first + count < rowIds_.size())
                matrix.append(padding);
        }
        rowsReference = subnodes_.nextValueNode();
        subnodes_.add(rowsReference, matrix.finish(), 0);
    }
    rows_ = {};

    Bytes info{tableSignature, static_cast<std::uint8_t>(columns_.size())};
    for (const std::uint16_t end : groupEnds_)
        AppendLittleEndian(info, end, 2);
    AppendLittleEndian(info, rowIndex, 4);
    AppendLittleEndian(info, rowsReference, 4);
    AppendLittleEndian(info, 0, 4); // hidIndex: deprecated
    std::vector<Column> byTag = columns_;
    std::sort(byTag.begin(), byTag.end(),
              [](const Column &a, const Column &b) { return a.tag < b.tag; });
    for (const Column &described : byTag) {
        AppendLittleEndian(info, described.tag, 4);
        AppendLittleEndian(info, described.offset, 2);
        info.push_back(described.size);
        info.push_back(described.bit);
    }
    heap_.overwrite(info_, info);
    heap_.setUserRoot(info_);
    const BlockId data = WriteDataTree(database_, heap_.stream());
    return {data, subnodes_.write(database_)};
}

} // namespace qb::pstmaker
