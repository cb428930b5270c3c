#pragma once

#include "dbx/file_window.h"

#include <cstdint>
#include <string>

namespace qb::dbx {

/// Where a message's text begins, or why it cannot be found.
struct MessageStart {
    /// File offset of the first data block; 0 when damage says why there is none.
    std::uint64_t firstBlock = 0;
    std::string damage;
    /// A bookkeeping field of the info object that disagrees although the rest of it is sound;
    /// empty when none does.
    std::string warning;
};

/// Reads the index of the message info object at infoOffset and finds its first data block. An
/// object whose first field does not hold its own offset is read all the same, with a warning,
/// when its index fits it and leads to a block that names itself. Throws Failure only when the
/// file cannot be read.
MessageStart FindMessageStart(FileWindow &file, std::uint64_t infoOffset);

} // namespace qb::dbx
