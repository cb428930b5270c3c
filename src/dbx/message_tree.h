#pragma once

#include "dbx/damage.h"
#include "dbx/file_window.h"
#include "dbx/seen_objects.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace qb::dbx {

/// Walks a database's message tree in order without recursion and hands out the offsets of the
/// message info objects its entries name. A node that cannot be read is reported and skipped with
/// everything below it; of a node cut off by the end of the file, the entries inside the file are
/// read. An offset is looked at as a node once only: a node met again (a loop, or two parents
/// naming one child) is reported and not walked again. So the walk ends however the tree is
/// damaged, and it goes as deep as the tree goes: its stack holds 8 bytes per level, and every
/// level is a node of its own.
class MessageTreeWalk {
  public:
    /// Starts at the node at root; 0 is the empty tree.
    MessageTreeWalk(FileWindow &file, std::uint64_t root, DamageReport report);

    /// The offset of the next message info object in tree order, or nothing when the walk is
    /// done. Throws Failure only when the file cannot be read.
    std::optional<std::uint64_t> next();

  private:
    struct Frame {
        std::uint32_t node = 0;
        /// Even steps 2k go down into child k, odd steps 2k + 1 hand out entry k.
        std::uint16_t step = 0;
        std::uint16_t entries = 0;
    };

    void enter(std::uint64_t node);

    FileWindow &file_;
    SeenObjects nodes_;
    DamageReport report_;
    std::vector<Frame> stack_;
};

} // namespace qb::dbx
