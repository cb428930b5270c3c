#include "files/folder.h"

#include "failure/system_failure.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::files {

Folder::Folder(std::string path, const std::string &reportedAs)
    : path_(std::move(path)),
      descriptor_(::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!descriptor_.isOpen())
        throw SystemFailure(errno, reportedAs.empty() ? path_ : reportedAs);
}

Folder::Folder(const Folder &parent, const std::string &name) : path_(parent.path() + "/" + name) {
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    descriptor_ = Descriptor(::openat(parent.descriptor(), name.c_str(), flags));
    if (!descriptor_.isOpen() && errno == ENOENT) {
        // Another process may make it in between; it is then opened as any folder there.
        if (::mkdirat(parent.descriptor(), name.c_str(), 0777) != 0 && errno != EEXIST)
            throw SystemFailure(errno, path_);
        descriptor_ = Descriptor(::openat(parent.descriptor(), name.c_str(), flags));
    }
    if (!descriptor_.isOpen())
        throw SystemFailure(errno, path_);
}

std::vector<std::string> Folder::names() const {
    // A descriptor of its own: the listing moves its offset, which the folder's must keep.
    const int listing = ::openat(descriptor(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0)
        throw SystemFailure(errno, path_);
    const std::unique_ptr<DIR, int (*)(DIR *)> folder(::fdopendir(listing), ::closedir);
    if (!folder) {
        const int error = errno;
        ::close(listing);
        throw SystemFailure(error, path_);
    }
    std::vector<std::string> names;
    errno = 0;
    while (const dirent *entry = ::readdir(folder.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    if (errno != 0)
        throw SystemFailure(errno, path_);
    return names;
}

void Folder::syncFileSystem(const std::string &reportedAs) const {
    if (::syncfs(descriptor()) != 0)
        throw SystemFailure(errno, reportedAs);
}

void Folder::syncNames(const std::string &reportedAs) const {
    if (::fsync(descriptor()) != 0)
        throw SystemFailure(errno, reportedAs);
}

bool Folder::renameWithoutReplacing(const std::string &from, const std::string &to,
                                    const std::string &reportedAs) {
    return renameWithoutReplacing(from, *this, to, reportedAs);
}

bool Folder::renameWithoutReplacing(const std::string &from, Folder &into, const std::string &to,
                                    const std::string &reportedAs) {
    if (!linkInsteadOfRename_) {
        if (::renameat2(descriptor(), from.c_str(), into.descriptor(), to.c_str(),
                        RENAME_NOREPLACE) == 0)
            return true;
        if (errno == EEXIST)
            return false;
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            throw SystemFailure(errno, reportedAs);
        linkInsteadOfRename_ = true;
    }
    if (::linkat(descriptor(), from.c_str(), into.descriptor(), to.c_str(), 0) != 0) {
        if (errno == EEXIST)
            return false;
        throw SystemFailure(errno, reportedAs);
    }
    // The file bears its name now; a staged name left behind is removed with the staged file
    // or, should that fail too, by the next run as a file of a process that is gone.
    ::unlinkat(descriptor(), from.c_str(), 0);
    return true;
}

} // namespace qb::files
