#pragma once

#include "dbx/file_window.h"

#include <cstdint>
#include <optional>

namespace qb::dbx {

/// Finds a database's message info objects without its index. Every object of a database begins
/// with its own offset, and objects start at offsets divisible by four: reading the file from its
/// header to its end four bytes at a time meets every object that names itself, and those whose
/// index leads to a data block that names itself are message info objects. They come in file
/// order, in time linear in the size of the file.
class MessageScan {
  public:
    /// Reads the file through file and looks at what might be an object through objects, so
    /// that the long read and the scattered looks keep buffers of their own.
    MessageScan(FileWindow &file, FileWindow &objects);

    /// The offset of the next message info object, or nothing at the end of the file. Throws
    /// Failure only when the file cannot be read.
    std::optional<std::uint64_t> next();

  private:
    FileWindow &file_;
    FileWindow &objects_;
    std::uint64_t position_;
};

} // namespace qb::dbx
