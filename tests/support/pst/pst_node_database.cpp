#include "support/pst/pst_node_database.h"

#include "support/pst/pst_checksums.h"

#include <algorithm>
#include <cstring>

namespace qb::pstmaker {
namespace {

using layout::pageSize;

constexpr std::size_t blockTrailerSize = 16;
constexpr std::size_t pageEntryBytes = 488;
constexpr std::uint8_t blockTreePage = 0x80;
constexpr std::uint8_t nodeTreePage = 0x81;
constexpr std::uint8_t densityListPage = 0x86;
constexpr std::size_t branchEntrySize = 24;
constexpr std::size_t blockEntrySize = 24;
constexpr std::size_t nodeEntrySize = 32;
constexpr std::size_t headerSize = 564;

/// Appends the trailer that closes every page: type twice, signature, CRC of the page's first
/// 496 bytes, id.
void AppendPageTrailer(Bytes &page, std::uint8_t pageType, std::uint16_t signature,
                       std::uint64_t id) {
    const std::uint32_t crc = Crc32(ByteView(page.data(), page.size()));
    page.push_back(pageType);
    page.push_back(pageType);
    AppendLittleEndian(page, signature, 2);
    AppendLittleEndian(page, crc, 4);
    AppendLittleEndian(page, id, 8);
}

} // namespace

NodeDatabase::NodeDatabase(const std::string &path) : file_(path), space_(file_) {}

BlockId NodeDatabase::writeBlock(ByteView data, BlockKind kind) {
    const std::uint64_t size = AlignUp(data.size() + blockTrailerSize, layout::slotSize);
    const std::uint64_t offset = space_.allocate(size, layout::slotSize);
    const BlockId id = (nextBlockIndex_++ << 2) | (kind == BlockKind::internal ? 2 : 0);
    Bytes block(data.begin(), data.end());
    block.resize(size - blockTrailerSize, 0);
    AppendLittleEndian(block, data.size(), 2);
    AppendLittleEndian(block, BlockSignature(offset, id), 2);
    AppendLittleEndian(block, Crc32(data), 4);
    AppendLittleEndian(block, id, 8);
    file_.writeAt(offset, block);
    blocks_.push_back({id, offset, static_cast<std::uint16_t>(data.size())});
    return id;
}

void NodeDatabase::addNode(NodeId node, BlockId data, BlockId subnodes, NodeId parent) {
    nodes_.push_back({node, data, subnodes, parent});
}

std::vector<NodeDatabase::PageReference>
NodeDatabase::writeLevel(std::uint8_t pageType, std::uint8_t level,
                         const std::vector<Bytes> &entries, std::size_t entrySize,
                         const std::vector<std::uint64_t> &keys) {
    const std::size_t perPage = pageEntryBytes / entrySize;
    std::vector<PageReference> references;
    for (std::size_t first = 0; first < entries.size(); first += perPage) {
        const std::size_t count = std::min(perPage, entries.size() - first);
        Bytes page;
        page.reserve(pageSize);
        for (std::size_t i = first; i < first + count; ++i)
            AppendBytes(page, entries[i]);
        page.resize(pageEntryBytes, 0);
        page.push_back(static_cast<std::uint8_t>(count));
        page.push_back(static_cast<std::uint8_t>(perPage));
        page.push_back(static_cast<std::uint8_t>(entrySize));
        page.push_back(level);
        AppendLittleEndian(page, 0, 4);
        const std::uint64_t offset = space_.allocate(pageSize, pageSize);
        const std::uint64_t id = nextPageId_++;
        AppendPageTrailer(page, pageType, BlockSignature(offset, id), id);
        file_.writeAt(offset, page);
        references.push_back({keys[first], id, offset});
    }
    return references;
}

NodeDatabase::PageReference NodeDatabase::writeTree(std::uint8_t pageType,
                                                    const std::vector<Bytes> &leafEntries,
                                                    std::size_t leafEntrySize,
                                                    const std::vector<std::uint64_t> &keys) {
    auto references = writeLevel(pageType, 0, leafEntries, leafEntrySize, keys);
    for (std::uint8_t level = 1; references.size() > 1; ++level) {
        std::vector<Bytes> branches;
        std::vector<std::uint64_t> branchKeys;
        for (const auto &reference : references) {
            Bytes entry;
            AppendLittleEndian(entry, reference.key, 8);
            AppendLittleEndian(entry, reference.id, 8);
            AppendLittleEndian(entry, reference.offset, 8);
            branches.push_back(std::move(entry));
            branchKeys.push_back(reference.key);
        }
        references = writeLevel(pageType, level, branches, branchEntrySize, branchKeys);
    }
    return references.front();
}

void NodeDatabase::finish(const std::array<std::uint32_t, 32> &nextNodeIndex) {
    std::sort(nodes_.begin(), nodes_.end(),
              [](const NodeEntry &a, const NodeEntry &b) { return a.node < b.node; });
    std::vector<Bytes> nodeEntries;
    std::vector<std::uint64_t> nodeKeys;
    for (const auto &node : nodes_) {
        Bytes entry;
        AppendLittleEndian(entry, node.node, 8);
        AppendLittleEndian(entry, node.data, 8);
        AppendLittleEndian(entry, node.subnodes, 8);
        AppendLittleEndian(entry, node.parent, 4);
        AppendLittleEndian(entry, 0, 4);
        nodeEntries.push_back(std::move(entry));
        nodeKeys.push_back(node.node);
    }
    nodes_ = {};
    const PageReference nodeTree = writeTree(nodeTreePage, nodeEntries, nodeEntrySize, nodeKeys);
    nodeEntries = {};

    // Block ids rise in the order the blocks were written, so the list is already sorted.
    std::vector<Bytes> blockEntries;
    std::vector<std::uint64_t> blockKeys;
    for (const auto &block : blocks_) {
        Bytes entry;
        AppendLittleEndian(entry, block.id, 8);
        AppendLittleEndian(entry, block.offset, 8);
        AppendLittleEndian(entry, block.size, 2);
        AppendLittleEndian(entry, 1, 2); // one reference: every block has one user
        AppendLittleEndian(entry, 0, 4);
        blockEntries.push_back(std::move(entry));
        blockKeys.push_back(block.id);
    }
    blocks_ = {};
    const PageReference blockTree =
        writeTree(blockTreePage, blockEntries, blockEntrySize, blockKeys);
    blockEntries = {};

    const FileSpace::Summary space = space_.finish();
    writeDensityList();
    writeHeader(nextNodeIndex, nodeTree, blockTree, space);
    file_.commit();
}

void NodeDatabase::writeDensityList() {
    // An empty density list: readers that want free space fall back to the allocation maps.
    Bytes page(pageSize - 16, 0);
    AppendPageTrailer(page, densityListPage,
                      BlockSignature(layout::densityListOffset, layout::densityListOffset),
                      layout::densityListOffset);
    file_.writeAt(layout::densityListOffset, page);
}

void NodeDatabase::writeHeader(const std::array<std::uint32_t, 32> &nextNodeIndex,
                               const PageReference &nodeTree, const PageReference &blockTree,
                               const FileSpace::Summary &space) {
    Bytes header;
    AppendBytes(header, BytesOf("!BDN"));
    AppendLittleEndian(header, 0, 4); // partial CRC, filled below
    AppendBytes(header, BytesOf("SM"));
    AppendLittleEndian(header, 23, 2); // Unicode
    AppendLittleEndian(header, 19, 2); // client version
    header.push_back(0x01);
    header.push_back(0x01);
    AppendLittleEndian(header, 0, 4);
    AppendLittleEndian(header, 0, 4);
    AppendLittleEndian(header, 0, 8);           // bidUnused
    AppendLittleEndian(header, nextPageId_, 8); // bidNextP
    AppendLittleEndian(header, 1, 4);           // dwUnique
    for (const std::uint32_t index : nextNodeIndex)
        AppendLittleEndian(header, index, 4);
    AppendLittleEndian(header, 0, 8); // qwUnused
    // ROOT
    AppendLittleEndian(header, 0, 4);
    AppendLittleEndian(header, space.fileEnd, 8);
    AppendLittleEndian(header, space.lastAllocationMap, 8);
    AppendLittleEndian(header, space.freeBytes, 8);
    AppendLittleEndian(header, 0, 8); // the page maps are kept full
    AppendLittleEndian(header, nodeTree.id, 8);
    AppendLittleEndian(header, nodeTree.offset, 8);
    AppendLittleEndian(header, blockTree.id, 8);
    AppendLittleEndian(header, blockTree.offset, 8);
    header.push_back(0x02); // the allocation maps are valid
    header.push_back(0);
    AppendLittleEndian(header, 0, 2);
    AppendLittleEndian(header, 0, 4);         // dwAlign
    header.resize(header.size() + 256, 0xFF); // rgbFM and rgbFP: unused, all set
    header.push_back(0x80);                   // bSentinel
    header.push_back(0x00);                   // no encryption
    AppendLittleEndian(header, 0, 2);
    AppendLittleEndian(header, nextBlockIndex_ << 2, 8); // bidNextB
    AppendLittleEndian(header, 0, 4);                    // full CRC, filled below
    header.resize(headerSize, 0);
    StoreLittleEndian(header.data() + 4, Crc32(ByteView(header.data() + 8, 471)), 4);
    StoreLittleEndian(header.data() + 524, Crc32(ByteView(header.data() + 8, 516)), 4);
    file_.writeAt(0, header);
}

} // namespace qb::pstmaker
