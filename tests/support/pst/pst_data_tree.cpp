#include "support/pst/pst_data_tree.h"

#include "failure/failure.h"

#include <algorithm>

namespace qb::pstmaker {
namespace {

constexpr std::size_t idsPerList = (maxBlockData - 8) / 8;
constexpr std::size_t leafSubnodesPerBlock = (maxBlockData - 8) / 24;
constexpr std::size_t branchSubnodesPerBlock = (maxBlockData - 8) / 16;
constexpr std::uint8_t listBlockType = 0x01;
constexpr std::uint8_t subnodeBlockType = 0x02;

} // namespace

DataTreeWriter::DataTreeWriter(NodeDatabase &database) : database_(database) {
    pending_.reserve(maxBlockData);
}

void DataTreeWriter::append(ByteView bytes) {
    size_ += bytes.size();
    while (!bytes.empty()) {
        const std::size_t take = std::min(bytes.size(), maxBlockData - pending_.size());
        pending_.insert(pending_.end(), bytes.begin(), bytes.begin() + take);
        bytes = bytes.subspan(take);
        if (pending_.size() == maxBlockData)
            writePending();
    }
}

void DataTreeWriter::writePending() {
    blocks_.push_back(database_.writeBlock(pending_, BlockKind::data));
    pending_.clear();
}

BlockId DataTreeWriter::writeList(std::uint8_t level, const std::vector<BlockId> &ids,
                                  std::uint64_t total) {
    Bytes list;
    list.push_back(listBlockType);
    list.push_back(level);
    AppendLittleEndian(list, ids.size(), 2);
    AppendLittleEndian(list, total, 4);
    for (const BlockId id : ids)
        AppendLittleEndian(list, id, 8);
    return database_.writeBlock(list, BlockKind::internal);
}

BlockId DataTreeWriter::finish() {
    if (!pending_.empty() || blocks_.empty())
        writePending();
    if (blocks_.size() == 1)
        return blocks_.front();
    std::vector<BlockId> lists;
    for (std::size_t first = 0; first < blocks_.size(); first += idsPerList) {
        const std::size_t count = std::min(idsPerList, blocks_.size() - first);
        const std::uint64_t covered =
            std::min<std::uint64_t>(size_ - first * maxBlockData, count * maxBlockData);
        lists.push_back(
            writeList(1, {blocks_.begin() + first, blocks_.begin() + first + count}, covered));
    }
    if (lists.size() == 1)
        return lists.front();
    return writeList(2, lists, size_);
}

BlockId WriteDataTree(NodeDatabase &database, ByteView bytes) {
    DataTreeWriter writer(database);
    writer.append(bytes);
    return writer.finish();
}

void SubnodeList::add(NodeId node, BlockId data, BlockId subnodes) {
    entries_.push_back({node, data, subnodes});
}

NodeId SubnodeList::nextValueNode() {
    return nextNode(NodeType::listsTablesProperties);
}

NodeId SubnodeList::nextNode(NodeType type) {
    return MakeNodeId(type, nextIndex_++);
}

BlockId SubnodeList::write(NodeDatabase &database) {
    if (entries_.empty())
        return 0;
    std::sort(entries_.begin(), entries_.end(),
              [](const Entry &a, const Entry &b) { return a.node < b.node; });
    std::vector<std::pair<NodeId, BlockId>> leaves;
    for (std::size_t first = 0; first < entries_.size(); first += leafSubnodesPerBlock) {
        const std::size_t count = std::min(leafSubnodesPerBlock, entries_.size() - first);
        Bytes block{subnodeBlockType, 0};
        AppendLittleEndian(block, count, 2);
        AppendLittleEndian(block, 0, 4);
        for (std::size_t i = first; i < first + count; ++i) {
            AppendLittleEndian(block, entries_[i].node, 8);
            AppendLittleEndian(block, entries_[i].data, 8);
            AppendLittleEndian(block, entries_[i].subnodes, 8);
        }
        leaves.emplace_back(entries_[first].node, database.writeBlock(block, BlockKind::internal));
    }
    if (leaves.size() == 1)
        return leaves.front().second;
    if (leaves.size() > branchSubnodesPerBlock)
        throw Failure(error_number::overflow, "PstStoreWriter",
                      "more subnodes than one SIBLOCK lists");
    Bytes block{subnodeBlockType, 1};
    AppendLittleEndian(block, leaves.size(), 2);
    AppendLittleEndian(block, 0, 4);
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        AppendLittleEndian(block, leaves[i].first, 8);
        AppendLittleEndian(block, leaves[i].second, 8);
    }
    return database.writeBlock(block, BlockKind::internal);
}

} // namespace qb::pstmaker
