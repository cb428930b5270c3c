#pragma once

#include "platform/file_system.h"

namespace qb {

/// Files and folders through the POSIX file system. Patterns match names in the folder with
/// "*" and "?" ("[" has no special meaning); names beginning with "." count as hidden.
class PosixFileSystem : public FileSystem {
  public:
    std::int64_t modificationTime(const std::string &path) override;
    bool isFolder(const std::string &path) override;
    std::vector<std::string> listFiles(const std::string &pattern) override;
    std::uint64_t fileSize(const std::string &path) override;
    std::string readAll(const std::string &path) override;
    void write(const std::string &path, const std::string &bytes) override;
    void append(const std::string &path, const std::string &bytes) override;
    void remove(const std::string &pattern) override;
    void forceRemove(const std::string &pattern) override;
};

/// True when name matches pattern, where "*" stands for any run of characters and "?" for one.
bool MatchesWildcard(const std::string &name, const std::string &pattern);

} // namespace qb
