#include "support/dbx_writer.h"

#include <algorithm>
#include <stdexcept>

namespace qb::test {
namespace {

constexpr std::uint64_t headerSize = 0x24bc;
constexpr std::uint64_t nodeHeaderSize = 0x18;
constexpr std::uint64_t entrySize = 0x0c;
constexpr std::size_t noNode = static_cast<std::size_t>(-1);

std::string Bytes32(std::uint64_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i) & 0xff);
    return bytes;
}

std::string Bytes16(std::uint64_t value) {
    return Bytes32(value).substr(0, 2);
}

/// An index field whose three value bytes are the value itself or a place in the data area.
std::string IndexField(unsigned id, bool direct, std::uint64_t value) {
    return static_cast<char>(id | (direct ? 0x80 : 0)) + Bytes32(value).substr(0, 3);
}

std::uint32_t KindTag(DbxWriter::Kind kind) {
    switch (kind) {
    case DbxWriter::Kind::Folders:
        return 0x6f74fdc6;
    case DbxWriter::Kind::Pop3uidl:
        return 0x6f74fdc7;
    case DbxWriter::Kind::Offline:
        return 0x26fe9d30;
    case DbxWriter::Kind::Messages:
        break;
    }
    return 0x6f74fdc5;
}

} // namespace

struct DbxWriter::Node {
    std::size_t parent = noNode;
    std::size_t before = noNode;
    std::vector<std::pair<std::uint64_t, std::size_t>> entries; // value, child after it
    std::uint64_t subtreeCount = 0;
    std::uint64_t offset = 0;
};

DbxWriter::DbxWriter(const std::string &path, Kind kind)
    : out_(path, std::ios::binary | std::ios::trunc) {
    if (!out_)
        throw std::runtime_error("cannot create " + path);
    std::string header(headerSize, '\0');
    header.replace(0, 8, Bytes32(0xfe12adcf) + Bytes32(KindTag(kind)));
    put(header);
}

DbxLayout::Message DbxWriter::add(std::string_view text) {
    DbxLayout::Message message;
    const std::uint64_t first = writeBlocks(text, message.blocks);
    message.info = writeInfo(first);
    layout_.messages.push_back(message);
    return message;
}

void DbxWriter::addSharing(std::uint64_t firstBlock) {
    layout_.messages.push_back({writeInfo(firstBlock), {}});
}

std::uint64_t DbxWriter::writeBlocks(std::string_view text, std::vector<std::uint64_t> &blocks) {
    const std::uint64_t blockSize = 0x10 + blockBody;
    const std::uint64_t count = text.empty() ? 1 : (text.size() + blockBody - 1) / blockBody;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::string_view used =
            text.substr(std::min<std::size_t>(i * blockBody, text.size()), blockBody);
        const std::uint64_t next = i + 1 < count ? end_ + blockSize : 0;
        blocks.push_back(end_);
        std::string block =
            Bytes32(end_) + Bytes32(blockBody) + Bytes16(used.size()) + Bytes16(0) + Bytes32(next);
        block.append(used);
        block.resize(blockSize, '\0');
        put(block);
    }
    return blocks.front();
}

std::uint64_t DbxWriter::writeInfo(std::uint64_t firstBlock) {
    const std::uint64_t at = end_;
    const bool direct = !indirectFirstBlock && firstBlock < (1u << 24);
    // The data area starts with another field's value, so the offset to the block is not 0.
    const std::string index = IndexField(0x00, true, layout_.messages.size() + 1) +
                              IndexField(0x02, false, 0) +
                              IndexField(0x04, direct, direct ? firstBlock : 4);
    const std::string data = Bytes32(0x01db6b66) + Bytes32(direct ? 0 : firstBlock);
    const std::string object = index + data;
    put(Bytes32(at) + Bytes32(object.size()) + Bytes16(0) + static_cast<char>(index.size() / 4) +
        '\0' + object);
    return at;
}

std::size_t DbxWriter::planNodes(std::vector<Node> &nodes, std::size_t first, std::size_t last,
                                 std::size_t parent) {
    const std::size_t self = nodes.size();
    nodes.push_back(Node{parent, noNode, {}, last - first, 0});
    const std::size_t count = last - first;
    if (count <= nodeEntries) {
        for (std::size_t i = first; i < last; ++i)
            nodes[self].entries.emplace_back(layout_.messages[i].info, noNode);
        return self;
    }
    // nodeEntries entries divide the rest into nodeEntries + 1 children of nearly equal size.
    const std::size_t rest = count - nodeEntries;
    const std::size_t groups = nodeEntries + 1;
    std::size_t at = first;
    for (std::size_t group = 0; group < groups; ++group) {
        const std::size_t size = rest / groups + (group < rest % groups ? 1 : 0);
        const std::size_t child = size == 0 ? noNode : planNodes(nodes, at, at + size, self);
        at += size;
        if (group == 0) {
            nodes[self].before = child;
        } else {
            nodes[self].entries.back().second = child;
        }
        if (group + 1 < groups)
            nodes[self].entries.emplace_back(layout_.messages[at++].info, noNode);
    }
    return self;
}

void DbxWriter::planChain(std::vector<Node> &nodes) {
    // Built in a loop: a chain is as deep as the mailbox is long.
    const std::size_t count = layout_.messages.size();
    const bool left = shape == TreeShape::LeftChain;
    for (std::size_t level = 0; level < count; ++level) {
        const std::size_t message = left ? count - 1 - level : level;
        const std::size_t child = level + 1 < count ? level + 1 : noNode;
        Node node{level == 0 ? noNode : level - 1, left ? child : noNode, {}, count - level, 0};
        node.entries.emplace_back(layout_.messages[message].info, left ? noNode : child);
        nodes.push_back(std::move(node));
    }
}

DbxLayout DbxWriter::finish() {
    std::vector<Node> nodes;
    if (shape != TreeShape::Balanced)
        planChain(nodes);
    else if (!layout_.messages.empty())
        planNodes(nodes, 0, layout_.messages.size(), noNode);
    std::uint64_t next = end_;
    for (Node &node : nodes) {
        node.offset = next;
        next += nodeHeaderSize + node.entries.size() * entrySize;
    }
    const auto offsetOf = [&](std::size_t node) { return node == noNode ? 0 : nodes[node].offset; };
    const auto countOf = [&](std::size_t node) {
        return node == noNode ? 0 : nodes[node].subtreeCount;
    };
    for (const Node &node : nodes) {
        std::string bytes = Bytes32(node.offset) + Bytes32(0) + Bytes32(offsetOf(node.before)) +
                            Bytes32(offsetOf(node.parent)) + '\0' +
                            static_cast<char>(node.entries.size()) + Bytes16(0) +
                            Bytes32(node.subtreeCount);
        for (const auto &[value, child] : node.entries)
            bytes += Bytes32(value) + Bytes32(offsetOf(child)) + Bytes32(countOf(child));
        put(bytes);
        layout_.nodes.push_back(node.offset);
    }
    layout_.treeRoot = nodes.empty() ? 0 : nodes.front().offset;
    out_.seekp(dbxMessageCountField);
    out_ << Bytes32(layout_.messages.size());
    out_.seekp(dbxTreeRootField);
    out_ << Bytes32(layout_.treeRoot);
    out_.close();
    if (!out_)
        throw std::runtime_error("cannot write the database");
    return layout_;
}

void DbxWriter::put(std::string_view bytes) {
    out_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    end_ += bytes.size();
}

void PatchUint32(const std::string &path, std::uint64_t offset, std::uint32_t value) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    file.seekp(static_cast<std::streamoff>(offset));
    file << Bytes32(value);
    if (!file)
        throw std::runtime_error("cannot patch " + path);
}

void NameOneMessageInEveryEntry(const std::string &path, const DbxLayout &layout,
                                std::uint64_t info) {
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    for (std::uint64_t node : layout.nodes) {
        char entries = 0;
        file.seekg(static_cast<std::streamoff>(node + 0x11));
        file.get(entries);
        for (unsigned entry = 0; entry < static_cast<unsigned char>(entries); ++entry) {
            file.seekp(static_cast<std::streamoff>(node + nodeHeaderSize + entry * entrySize));
            file << Bytes32(info);
        }
    }
    if (!file)
        throw std::runtime_error("cannot patch " + path);
}

void FlipBit(const std::string &path, std::uint64_t offset, unsigned bit) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    unsigned char bytes[4] = {};
    in.read(reinterpret_cast<char *>(bytes), sizeof bytes);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    const std::uint32_t value =
        bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
    PatchUint32(path, offset, value ^ (std::uint32_t{1} << bit));
}

} // namespace qb::test
