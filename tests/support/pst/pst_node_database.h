#pragma once

#include "support/pst/pst_file_space.h"
#include "support/pst/pst_output_file.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qb::pstmaker {

using BlockId = std::uint64_t;
using NodeId = std::uint32_t;

/// Most bytes one block holds.
inline constexpr std::size_t maxBlockData = 8176;

/// The kinds of node the format tells apart by the low five bits of a node id.
enum class NodeType : std::uint8_t {
    heap = 0x00,
    internal = 0x01,
    normalFolder = 0x02,
    searchFolder = 0x03,
    normalMessage = 0x04,
    attachment = 0x05,
    hierarchyTable = 0x0D,
    contentsTable = 0x0E,
    associatedContentsTable = 0x0F,
    attachmentTable = 0x11,
    recipientTable = 0x12,
    listsTablesProperties = 0x1F,
};

constexpr NodeId MakeNodeId(NodeType type, std::uint32_t index) {
    return (index << 5) | static_cast<std::uint32_t>(type);
}

/// Whether a block holds data or the format's own lists of blocks (internal blocks).
enum class BlockKind { data, internal };

/// The node database of a Unicode data file (wVer 23, no encryption): writes blocks as they
/// come, keeps only the index entries (24 bytes a block, 32 a node), and on finish() writes the
/// block and node B-trees, the maps and the header, then renames the file into place.
class NodeDatabase {
  public:
    explicit NodeDatabase(const std::string &path);

    /// Writes a block of at most maxBlockData bytes and returns its id.
    BlockId writeBlock(ByteView data, BlockKind kind);
    /// Enters a top-level node into the node B-tree.
    void addNode(NodeId node, BlockId data, BlockId subnodes, NodeId parent);
    /// Writes the B-trees, maps and header; `nextNodeIndex` holds, per node type, the next index
    /// the file would hand out.
    void finish(const std::array<std::uint32_t, 32> &nextNodeIndex);

  private:
    struct BlockEntry {
        BlockId id;
        std::uint64_t offset;
        std::uint16_t size;
    };
    struct NodeEntry {
        NodeId node;
        BlockId data;
        BlockId subnodes;
        NodeId parent;
    };
    struct PageReference {
        std::uint64_t key;
        std::uint64_t id;
        std::uint64_t offset;
    };

    PageReference writeTree(std::uint8_t pageType, const std::vector<Bytes> &leafEntries,
                            std::size_t leafEntrySize, const std::vector<std::uint64_t> &keys);
    std::vector<PageReference> writeLevel(std::uint8_t pageType, std::uint8_t level,
                                          const std::vector<Bytes> &entries, std::size_t entrySize,
                                          const std::vector<std::uint64_t> &keys);
    void writeDensityList();
    void writeHeader(const std::array<std::uint32_t, 32> &nextNodeIndex,
                     const PageReference &nodeTree, const PageReference &blockTree,
                     const FileSpace::Summary &space);

    OutputFile file_;
    FileSpace space_;
    std::uint64_t nextBlockIndex_ = 1;
    std::uint64_t nextPageId_ = 1;
    std::vector<BlockEntry> blocks_;
    std::vector<NodeEntry> nodes_;
};

} // namespace qb::pstmaker
