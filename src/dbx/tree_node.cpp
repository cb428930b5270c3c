#include "dbx/tree_node.h"

#include "dbx/damage.h"

#include <array>

namespace qb::dbx {
namespace {

constexpr std::uint64_t nodeHeaderSize = 0x18;
constexpr std::uint64_t entrySize = 0x0c;
constexpr std::uint64_t firstChildField = 0x08;
constexpr std::uint64_t entryCountField = 0x11;
constexpr std::uint64_t entryChildField = 0x04;
constexpr std::uint64_t entryCountSize = 4;

std::uint64_t EntryOffset(std::uint64_t node, unsigned entry) {
    return node + nodeHeaderSize + entry * entrySize;
}

} // namespace

TreeNode ReadTreeNode(FileWindow &file, std::uint64_t offset) {
    std::array<unsigned char, nodeHeaderSize> header{};
    if (!file.read(offset, header.data(), header.size()))
        return {0, 0, "lies outside the file", {}};
    TreeNode node;
    node.entries = header[entryCountField];
    // An entry whose message and child lie inside the file can be read without its last field,
    // which only counts the messages below it.
    const std::uint64_t room = (file.size() - offset - nodeHeaderSize + entryCountSize) / entrySize;
    node.entriesInFile = room < node.entries ? static_cast<unsigned>(room) : node.entries;
    const std::uint64_t self = LittleEndian32(header.data());
    if (self == offset)
        return node;
    // The node's own offset is only a cross-check: entries that lead to messages show that this
    // is the node its parent meant.
    if (!LeadsToMessages(file, offset, node.entriesInFile))
        return {0, 0, "does not name itself", {}};
    node.warning = "says it lies at " + HexOffset(self) + "; its entries are sound, so it is read";
    return node;
}

bool LeadsToMessages(FileWindow &file, std::uint64_t node, unsigned entriesInFile) {
    std::uint64_t named = 0;
    std::uint64_t given = 0;
    const auto look = [&](std::uint64_t offset) {
        if (offset == 0)
            return;
        ++given;
        named += NamesItself(file, offset) ? 1 : 0;
    };
    look(TreeChild(file, node, 0));
    for (unsigned entry = 0; entry < entriesInFile; ++entry) {
        look(TreeEntryValue(file, node, entry));
        look(TreeChild(file, node, entry + 1));
    }
    return named > 0 && 2 * named >= given;
}

std::uint64_t TreeEntryValue(FileWindow &file, std::uint64_t node, unsigned entry) {
    return file.uint32At(EntryOffset(node, entry)).value_or(0);
}

std::uint64_t TreeChild(FileWindow &file, std::uint64_t node, unsigned child) {
    const std::uint64_t field =
        child == 0 ? node + firstChildField : EntryOffset(node, child - 1) + entryChildField;
    return file.uint32At(field).value_or(0);
}

} // namespace qb::dbx
