#pragma once

#include "dbx/file_window.h"

#include <cstdint>
#include <string>

namespace qb::dbx {

/// What a look at one node of a message tree found.
struct TreeNode {
    /// Entries the node says it holds.
    unsigned entries = 0;
    /// Those of them that lie inside the file; fewer when the file is cut off in the node.
    unsigned entriesInFile = 0;
    /// Why the node cannot be read; empty when it can.
    std::string damage;
    /// A bookkeeping field that disagrees although the node is sound otherwise; empty when none.
    std::string warning;
};

/// Looks at the tree node at offset. A node whose first field does not hold its own offset is
/// read all the same, with a warning, when it leads to messages (see LeadsToMessages). Throws
/// Failure only when the file cannot be read.
TreeNode ReadTreeNode(FileWindow &file, std::uint64_t offset);

/// True when the first entriesInFile entries of the node at offset look like a node's: at least
/// half of the info objects and child nodes they name, and at least one, name themselves. A
/// random place in a file almost never does. Throws Failure only when the file cannot be read.
bool LeadsToMessages(FileWindow &file, std::uint64_t node, unsigned entriesInFile);

/// The offset of the message info object that entry (from 0) of the node at offset names.
std::uint64_t TreeEntryValue(FileWindow &file, std::uint64_t node, unsigned entry);

/// The offset of the node's child number child: 0 is the child before the first entry, n the
/// child after entry n - 1; 0 when there is none. The entries must lie inside the file.
std::uint64_t TreeChild(FileWindow &file, std::uint64_t node, unsigned child);

} // namespace qb::dbx
