#pragma once

#include "support/pst/pst_bytes.h"

#include <cstdint>
#include <string>

namespace qb::pstmaker {

/// A file written under an unguessable temporary name beside its final path and renamed into
/// place by commit(); a writer that is dropped before commit() leaves nothing behind. Writes that
/// follow each other are gathered into large ones. Every failing call throws Failure.
class OutputFile {
  public:
    explicit OutputFile(std::string path);
    ~OutputFile();
    OutputFile(const OutputFile &) = delete;
    OutputFile &operator=(const OutputFile &) = delete;

    /// Writes bytes at a file offset.
    void writeAt(std::uint64_t offset, ByteView bytes);
    /// Makes the file exactly `size` bytes long.
    void resize(std::uint64_t size);
    /// Flushes, syncs and renames the file to its final path.
    void commit();

  private:
    void flush();
    [[noreturn]] void fail(const std::string &what) const;

    std::string path_;
    std::string temporaryPath_;
    int descriptor_ = -1;
    Bytes pending_;
    std::uint64_t pendingOffset_ = 0;
};

} // namespace qb::pstmaker
