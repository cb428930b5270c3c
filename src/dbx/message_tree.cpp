#include "dbx/message_tree.h"

#include "dbx/tree_node.h"

#include <utility>

namespace qb::dbx {

MessageTreeWalk::MessageTreeWalk(FileWindow &file, std::uint64_t root, DamageReport report)
    : file_(file), nodes_(file.size()), report_(std::move(report)) {
    enter(root);
}

std::optional<std::uint64_t> MessageTreeWalk::next() {
    while (!stack_.empty()) {
        Frame &frame = stack_.back();
        const std::uint64_t node = frame.node;
        const unsigned step = frame.step++;
        const unsigned lastStep = 2u * frame.entries;
        if (step % 2 == 0) {
            // A node has nothing left after its last child, so it leaves the stack first: a
            // tree that leans to the right keeps a stack of one frame however deep it goes.
            if (step == lastStep)
                stack_.pop_back();
            enter(TreeChild(file_, node, step / 2));
            continue;
        }
        const unsigned entry = step / 2;
        const std::uint64_t value = TreeEntryValue(file_, node, entry);
        if (value != 0)
            return value;
        report_({Loss::message, "tree node at " + HexOffset(node) + ": entry " +
                                    std::to_string(entry + 1) + " names no message"});
    }
    return std::nullopt;
}

void MessageTreeWalk::enter(std::uint64_t node) {
    if (node == 0)
        return;
    const std::string where = "tree node at " + HexOffset(node);
    if (!nodes_.markNew(node)) {
        report_({Loss::none, where + " is reached a second time; the tree loops there"});
        return;
    }
    const TreeNode look = ReadTreeNode(file_, node);
    if (!look.damage.empty()) {
        report_(
            {Loss::unreachable, where + " " + look.damage + "; the messages below it are lost"});
        return;
    }
    if (!look.warning.empty())
        report_({Loss::none, where + " " + look.warning});
    if (look.entriesInFile < look.entries)
        report_({Loss::unreachable, where + " is cut off by the end of the file: " +
                                        std::to_string(look.entries - look.entriesInFile) +
                                        " of its " + std::to_string(look.entries) +
                                        " entries are lost"});
    stack_.push_back(
        Frame{static_cast<std::uint32_t>(node), 0, static_cast<std::uint16_t>(look.entriesInFile)});
}

} // namespace qb::dbx
