#pragma once

#include "files/descriptor.h"
#include "files/folder.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qb::files {

/// A file that lies in a folder already and is added to at its end, in place: an mbox that a
/// rerun completes. It is opened without following a link (O_NOFOLLOW) and must be a regular
/// file. What it held stays as it was: a piece that cannot be added whole is cut off again.
/// Every failure throws Failure naming target.
class AppendedFile {
  public:
    /// Opens name in folder for adding; throws Failure when it cannot.
    AppendedFile(Folder &folder, const std::string &name, std::string target);

    /// Adds the bytes, whole or not at all (see StagedFile::write).
    void write(std::string_view bytes);
    /// Cuts the file back to size bytes, never below what it held when opened.
    void cutBack(std::uint64_t size);
    std::uint64_t size() const { return size_; }
    /// Makes what was added durable and closes the file.
    void finish();

  private:
    std::string target_;
    Descriptor file_;
    std::uint64_t start_ = 0;
    std::uint64_t size_ = 0;
};

} // namespace qb::files
