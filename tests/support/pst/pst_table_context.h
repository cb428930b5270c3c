#pragma once

#include "support/pst/pst_data_tree.h"
#include "support/pst/pst_heap.h"

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace qb::pstmaker {

/// The contents of a node: its data tree and its subnodes (0 when it has none).
struct NodeContent {
    BlockId data = 0;
    BlockId subnodes = 0;
    /// Bytes in the data tree.
    std::uint64_t size = 0;
};

/// Builds a table context (TC): column descriptions, a row index (BTH of row id to row number)
/// and the row matrix, in the heap while it fits and in a subnode of its own beyond 3580 bytes.
/// Rows are packed as they are added; variable-size cells go to the heap at once (or to a
/// subnode when larger than a heap item), so memory stays near the row matrix itself.
class TableContextBuilder {
  public:
    /// The table's columns besides the row id and row version, which every table has.
    TableContextBuilder(NodeDatabase &database, std::vector<std::uint32_t> columnTags);

    /// Adds a row; cells name their column by tag, and columns without a cell stay empty.
    void addRow(std::uint32_t rowId, const std::vector<std::pair<std::uint32_t, Bytes>> &cells);
    /// Writes the table.
    NodeContent write();

  private:
    struct Column {
        std::uint32_t tag;
        std::uint16_t offset;
        std::uint8_t size;
        std::uint8_t bit;
    };
    const Column *column(std::uint32_t tag) const;

    NodeDatabase &database_;
    HeapBuilder heap_;
    HeapId info_ = 0;
    SubnodeList subnodes_;
    std::vector<Column> columns_;
    std::uint16_t rowSize_ = 0;
    std::uint16_t groupEnds_[4] = {};
    std::vector<std::uint32_t> rowIds_;
    Bytes rows_;
};

} // namespace qb::pstmaker
