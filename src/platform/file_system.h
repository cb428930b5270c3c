#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qb {

/// Files and folders. Paths use "/"; a pattern may hold "*" and "?" in its last component.
/// Every operation that can fail throws Failure with the system's description.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    /// Last modification time of a file or folder, in seconds since the epoch.
    virtual std::int64_t modificationTime(const std::string &path) = 0;
    /// True when the path names an existing folder; never throws.
    virtual bool isFolder(const std::string &path) = 0;
    /// Names (without folder) of the regular files matching the pattern, hidden ones left out.
    virtual std::vector<std::string> listFiles(const std::string &pattern) = 0;
    virtual std::uint64_t fileSize(const std::string &path) = 0;
    /// The whole file as bytes.
    virtual std::string readAll(const std::string &path) = 0;
    /// Creates or replaces the file with the bytes, whole or not at all: after a failure the old
    /// file is as it was and nothing new remains. A link at path is replaced, not followed.
    virtual void write(const std::string &path, const std::string &bytes) = 0;
    /// Appends the bytes, creating the file when missing; after a failure the file holds what it
    /// held before. A link at path is refused, not followed.
    virtual void append(const std::string &path, const std::string &bytes) = 0;
    /// Ordinary delete of every file matching the pattern; fails when nothing matched or a
    /// file could not be deleted.
    virtual void remove(const std::string &pattern) = 0;
    /// Deletes every file matching the pattern, making read-only files writable first.
    virtual void forceRemove(const std::string &pattern) = 0;
    /// Creates the folder and any missing folders above it; an existing folder is no failure.
    virtual void createFolders(const std::string &path) = 0;
    /// The path under which the system itself reaches the file or folder (what a started
    /// program is given), or the empty text when nothing exists there; never throws.
    virtual std::string hostPath(const std::string &path) = 0;
};

} // namespace qb
