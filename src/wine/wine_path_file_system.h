#pragma once

#include "platform/file_system.h"

#include <string>

namespace qb {

/// A file system that also takes the Windows paths the registry holds ("C:\users\...") and
/// hands them, mapped to host paths through the Wine prefix, to the file system it wraps. In such
/// paths names are matched without regard to letter case, the wildcard name of a pattern too, as
/// on Windows. Every other path passes through untouched; names come back as the wrapped file
/// system gives them. Listing a folder that exists but cannot be read throws the system's failure
/// instead of giving no names; a folder that does not exist gives none.
class WinePathFileSystem : public FileSystem {
  public:
    WinePathFileSystem(FileSystem &files, std::string prefix)
        : files_(files), prefix_(std::move(prefix)) {}

    std::int64_t modificationTime(const std::string &path) override;
    bool isFolder(const std::string &path) override;
    std::vector<std::string> listFiles(const std::string &pattern) override;
    std::uint64_t fileSize(const std::string &path) override;
    std::string readAll(const std::string &path) override;
    void write(const std::string &path, const std::string &bytes) override;
    void append(const std::string &path, const std::string &bytes) override;
    void remove(const std::string &pattern) override;
    void forceRemove(const std::string &pattern) override;
    void createFolders(const std::string &path) override;
    std::string hostPath(const std::string &path) override;

  private:
    std::string host(const std::string &path) const;
    /// Host paths of the files a drive-letter pattern matches; empty when none does.
    std::vector<std::string> matchingHostPaths(const std::string &pattern);
    /// Deletes the files of a pattern with the wrapped file system's removal, one by one when
    /// the pattern's names must match without regard to letter case.
    void removeMatching(const std::string &pattern,
                        void (FileSystem::*removal)(const std::string &));

    FileSystem &files_;
    std::string prefix_;
};

} // namespace qb
