#pragma once

#include "dbx/damage.h"
#include "dbx/file_window.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace qb::dbx {

/// One message the tree lists.
struct MessageEntry {
    /// Position in tree order, from 1, counting only entries that name a message.
    std::uint64_t index = 0;
    /// File offset of the message's info object.
    std::uint64_t infoOffset = 0;
};

/// Walks a database's message tree in order without recursion. A node that lies outside the
/// file, does not name itself, is met a second time or lies too deep is reported and skipped
/// with everything below it, so a damaged tree neither loops nor exhausts memory: the walk keeps
/// one bit per 16 bytes of the file's first 4 GiB (nodes are 24 bytes or more) and one frame per
/// level.
class MessageTreeWalk {
  public:
    MessageTreeWalk(FileWindow &file, std::uint64_t root, DamageReport report);

    /// The next message in tree order, or nothing when the walk is done.
    /// Throws Failure only when the file cannot be read.
    std::optional<MessageEntry> next();

  private:
    struct Frame {
        std::uint64_t node = 0;
        unsigned entries = 0;
        unsigned position = 0;
        /// A child whose entries come before the entry at position; 0 when there is none.
        std::uint64_t pendingChild = 0;
    };

    void enter(std::uint64_t node);
    bool markVisited(std::uint64_t node);

    FileWindow &file_;
    DamageReport report_;
    std::vector<Frame> stack_;
    std::vector<bool> visited_;
    std::uint64_t index_ = 0;
};

} // namespace qb::dbx
