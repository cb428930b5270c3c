#pragma once

#include "files/descriptor.h"

#include <string>
#include <vector>

namespace qb::files {

/// An open folder that files are written into. Every name given to its operations is a plain
/// name inside it, never a path, so that a folder renamed or replaced by a link half-way through
/// cannot lead a write elsewhere. Failures throw Failure (see SystemFailure).
class Folder {
  public:
    /// Opens the folder at path. A failure names reportedAs, or the folder's path when that is
    /// empty: callers that write one file name that file, which is what the user asked for.
    explicit Folder(std::string path, const std::string &reportedAs = {});

    /// Opens the folder name inside parent, making it first when it is missing. A link there is
    /// refused (ELOOP or ENOTDIR), never followed, so the folder always lies inside parent.
    /// Throws Failure naming the new folder's path.
    Folder(const Folder &parent, const std::string &name);

    const std::string &path() const { return path_; }
    int descriptor() const { return descriptor_.get(); }

    /// Every name in the folder, hidden ones included, in the order the system lists them.
    std::vector<std::string> names() const;

    /// One sync of the whole file system the folder lies on (syncfs): every file written there so
    /// far becomes durable at once. A batch of many files costs one sync instead of one each.
    /// A failure names reportedAs.
    void syncFileSystem(const std::string &reportedAs) const;

    /// Makes the folder's list of names durable, so that renames in it survive a crash. A failure
    /// names reportedAs.
    void syncNames(const std::string &reportedAs) const;

    /// Renames from to to, both in the folder, and never over a file already there: false when
    /// to is taken. File systems without a rename that refuses to replace (EINVAL, ENOSYS,
    /// ENOTSUP) get a hard link and a removal of from instead, which never replaces either; the
    /// folder remembers that and goes straight to the link next time. A failure names
    /// reportedAs.
    bool renameWithoutReplacing(const std::string &from, const std::string &to,
                                const std::string &reportedAs);
    /// The same, to the name to in the folder into, which must lie on the same file system.
    bool renameWithoutReplacing(const std::string &from, Folder &into, const std::string &to,
                                const std::string &reportedAs);

  private:
    std::string path_;
    Descriptor descriptor_;
    bool linkInsteadOfRename_ = false;
};

} // namespace qb::files
