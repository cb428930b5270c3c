#pragma once

#include <string>

namespace qb::cli {

/// A new folder that only this run uses, removed with everything in it when the object goes.
/// It lies in memory (/dev/shm) where the system has such a folder, since the files it holds
/// are read once and deleted, else in $TMPDIR (default /tmp).
class PrivateFolder {
  public:
    /// Throws Failure when no folder can be made.
    PrivateFolder();
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder &) = delete;
    PrivateFolder &operator=(const PrivateFolder &) = delete;

    const std::string &path() const { return path_; }

  private:
    std::string path_;
};

} // namespace qb::cli
