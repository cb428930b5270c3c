#pragma once

#include <string>

namespace qb::cli {

/// A new folder that only this run uses, removed with everything in it when the object goes.
/// It lies in memory (/dev/shm) where the system has such a folder, since the files it holds
/// are read once and deleted, else in $TMPDIR (default /tmp). Its name says which process made
/// it ("quillbarrow-export-4711-Ab3xYz"), so that the folders of runs that were killed are
/// removed by the next run instead of filling the memory until the system restarts.
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
