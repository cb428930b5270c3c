#include "cli/output_folder.h"

#include "cli/message_names.h"
#include "failure/system_failure.h"
#include "platform/linux/posix_file_system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace qb::cli {

OutputFolder::OutputFolder(std::string path, EarlierFiles earlier)
    : path_(std::move(path)), earlier_(earlier) {
    std::error_code error;
    std::filesystem::create_directories(path_, error);
    if (error)
        throw SystemFailure(error.value(), path_);
    // Only a file really created proves the folder writable (read-only mounts, ACLs, quotas).
    const std::string probe = stagingPath();
    const int descriptor = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0)
        throw SystemFailure(errno, path_);
    ::close(descriptor);
    ::unlink(probe.c_str());
}

std::string OutputFolder::stagingPath() {
    return path_ + "/.quillbarrow-export-" + std::to_string(::getpid()) + "-" +
           std::to_string(++stagedCount_) + ".part";
}

std::string OutputFolder::stage(const std::string &text) {
    const std::string path = stagingPath();
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0)
        throw SystemFailure(errno, path);
    if (!WriteAll(descriptor, text)) {
        const int error = errno;
        ::close(descriptor);
        ::unlink(path.c_str());
        throw SystemFailure(error, path);
    }
    if (::close(descriptor) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        throw SystemFailure(error, path);
    }
    return path;
}

void OutputFolder::sync() {
    const int descriptor = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        throw SystemFailure(errno, path_);
    const bool synced = ::syncfs(descriptor) == 0;
    const int error = errno;
    ::close(descriptor);
    if (!synced)
        throw SystemFailure(error, path_);
}

bool OutputFolder::renameTo(const std::string &staged, const std::string &name) {
    const std::string target = path_ + "/" + name;
    if (earlier_ == EarlierFiles::Overwrite) {
        // rename replaces a link at the name itself, never the file it points to.
        if (::rename(staged.c_str(), target.c_str()) == 0)
            return true;
        if (errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST)
            return false;
        throw SystemFailure(errno, target);
    }
    if (::renameat2(AT_FDCWD, staged.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return false;
    if (errno != EINVAL && errno != ENOSYS)
        throw SystemFailure(errno, target);
    // File systems without the no-replace rename: a hard link never replaces either.
    if (::link(staged.c_str(), target.c_str()) != 0) {
        if (errno == EEXIST)
            return false;
        throw SystemFailure(errno, target);
    }
    ::unlink(staged.c_str());
    return true;
}

std::string OutputFolder::place(const std::string &staged, const std::string &stem) {
    for (int copy = 1;; ++copy) {
        const std::string name = NumberedFileName(stem, copy);
        if (taken_.contains(name))
            continue;
        if (renameTo(staged, name)) {
            taken_.insert(name);
            return name;
        }
    }
}

} // namespace qb::cli
