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
    void createFolders(const std::string &path) override;
    std::string hostPath(const std::string &path) override;
};

/// Creates or replaces the file at path with the bytes, whole or not at all, through the durable
/// writer (files::WriteWholeFile with Placement::Replace): a link at path is replaced, never
/// followed; a read-only file at path is refused. On failure nothing new remains and an old file
/// is as it was; throws Failure (see SystemFailure).
void WriteFileSafely(const std::string &path, const std::string &bytes);

/// True when name matches pattern, where "*" stands for any run of characters and "?" for one.
bool MatchesWildcard(const std::string &name, const std::string &pattern);
/// True when a name holds "*" or "?".
bool HasWildcard(const std::string &name);

} // namespace qb
