#include "dbx/message_tree.h"

#include <algorithm>
#include <array>
#include <utility>

namespace qb::dbx {
namespace {

constexpr std::uint64_t nodeHeaderSize = 0x18;
constexpr std::uint64_t entrySize = 0x0c;
constexpr std::uint64_t visitedGrain = 16;
constexpr std::uint64_t offsetLimit = std::uint64_t{1} << 32;
// A sound tree of 4 G entries is far shallower; deeper means the children form a chain.
constexpr std::size_t deepestLevel = 64;

struct Entry {
    std::uint64_t value = 0;
    std::uint64_t child = 0;
};

} // namespace

MessageTreeWalk::MessageTreeWalk(FileWindow &file, std::uint64_t root, DamageReport report)
    : file_(file), report_(std::move(report)),
      visited_(static_cast<std::size_t>(std::min(file.size(), offsetLimit) / visitedGrain + 1)) {
    if (root != 0)
        enter(root);
}

std::optional<MessageEntry> MessageTreeWalk::next() {
    while (!stack_.empty()) {
        Frame &frame = stack_.back();
        if (frame.pendingChild != 0) {
            const std::uint64_t child = std::exchange(frame.pendingChild, 0);
            enter(child);
            continue;
        }
        if (frame.position == frame.entries) {
            stack_.pop_back();
            continue;
        }
        std::array<unsigned char, entrySize> bytes{};
        const std::uint64_t at = frame.node + nodeHeaderSize + frame.position * entrySize;
        const unsigned position = frame.position++;
        // enter() checked that the node's entries lie inside the file.
        file_.read(at, bytes.data(), bytes.size());
        const Entry entry{LittleEndian32(bytes.data()), LittleEndian32(bytes.data() + 4)};
        frame.pendingChild = entry.child;
        if (entry.value == 0) {
            report_("tree node at " + HexOffset(frame.node) + ": entry " +
                    std::to_string(position + 1) + " names no message");
            continue;
        }
        return MessageEntry{++index_, entry.value};
    }
    return std::nullopt;
}

void MessageTreeWalk::enter(std::uint64_t node) {
    const std::string where = "tree node at " + HexOffset(node);
    std::array<unsigned char, nodeHeaderSize> header{};
    if (!file_.read(node, header.data(), header.size())) {
        report_(where + " lies outside the file; the messages below it are lost");
        return;
    }
    if (LittleEndian32(header.data()) != node) {
        report_(where + " does not name itself; the messages below it are lost");
        return;
    }
    if (!markVisited(node)) {
        report_(where + " is reached a second time; the tree loops there");
        return;
    }
    if (stack_.size() >= deepestLevel) {
        report_(where + " lies deeper than any sound tree; the messages below it are lost");
        return;
    }
    const unsigned entries = header[0x11];
    if (!file_.holds(node + nodeHeaderSize, entries * entrySize)) {
        report_(where + " is cut off by the end of the file; the messages below it are lost");
        return;
    }
    stack_.push_back(Frame{node, entries, 0, LittleEndian32(header.data() + 0x08)});
}

bool MessageTreeWalk::markVisited(std::uint64_t node) {
    const std::uint64_t slot = node / visitedGrain;
    if (slot >= visited_.size())
        return true; // a node beyond 4 GiB cannot be named by a 4-byte child offset
    if (visited_[slot])
        return false;
    visited_[slot] = true;
    return true;
}

} // namespace qb::dbx
