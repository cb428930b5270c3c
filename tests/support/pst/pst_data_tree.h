#pragma once

#include "support/pst/pst_node_database.h"

#include <cstdint>
#include <vector>

namespace qb::pstmaker {

/// Writes a stream of any length as a data tree: one data block when it fits, else data blocks
/// of 8176 bytes listed by an XBLOCK, or by XBLOCKs under an XXBLOCK. Blocks are written as the
/// bytes arrive, so memory stays at one block plus eight bytes per block.
class DataTreeWriter {
  public:
    explicit DataTreeWriter(NodeDatabase &database);

    void append(ByteView bytes);
    /// Writes what is left and the lists of blocks; returns the tree's root block. An empty
    /// stream is one empty data block.
    BlockId finish();
    std::uint64_t size() const { return size_; }

  private:
    void writePending();
    BlockId writeList(std::uint8_t level, const std::vector<BlockId> &ids, std::uint64_t total);

    NodeDatabase &database_;
    Bytes pending_;
    std::vector<BlockId> blocks_;
    std::uint64_t size_ = 0;
};

/// Writes bytes as a data tree and returns its root block.
BlockId WriteDataTree(NodeDatabase &database, ByteView bytes);

/// The subnodes of one node (or subnode): local node ids with their data and their own
/// subnodes, written as an SLBLOCK, or SLBLOCKs under an SIBLOCK.
class SubnodeList {
  public:
    void add(NodeId node, BlockId data, BlockId subnodes);
    /// A fresh local id for a value kept in a subnode of its own.
    NodeId nextValueNode();
    /// A fresh local id of the given type.
    NodeId nextNode(NodeType type);
    /// Writes the list; 0 when there are no subnodes.
    BlockId write(NodeDatabase &database);

  private:
    struct Entry {
        NodeId node;
        BlockId data;
        BlockId subnodes;
    };
    std::vector<Entry> entries_;
    std::uint32_t nextIndex_ = 0x400;
};

} // namespace qb::pstmaker
