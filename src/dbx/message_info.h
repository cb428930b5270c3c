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
};

/// Reads the index of the message info object at infoOffset and finds its first data block.
/// Throws Failure only when the file cannot be read.
MessageStart FindMessageStart(FileWindow &file, std::uint64_t infoOffset);

} // namespace qb::dbx
