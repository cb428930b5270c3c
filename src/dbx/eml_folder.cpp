#include "dbx/eml_folder.h"

#include "failure/failure.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace qb::dbx {
namespace {

// Past this many names taken, the folder is not one a conversion can sensibly add to.
constexpr int mostNameTries = 1000000;

Failure WriteFailure(int error, const std::string &path) {
    return Failure(error_number::objectErrorBase + error, "Splinterbox",
                   std::string(std::strerror(error)) + ": " + path);
}

} // namespace

EmlFolder::EmlFolder(const std::string &path)
    : path_(path), temporaryName_(".splinterbox-" + std::to_string(::getpid()) + ".tmp") {
    folder_ = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0)
        throw WriteFailure(errno, path);
}

EmlFolder::~EmlFolder() {
    discard();
    // A rename that failed half-way leaves the temporary file closed but still there.
    ::unlinkat(folder_, temporaryName_.c_str(), 0);
    ::close(folder_);
}

void EmlFolder::begin() {
    discard();
    file_ =
        ::openat(folder_, temporaryName_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (file_ < 0)
        throw WriteFailure(errno, path_ + "/" + temporaryName_);
}

void EmlFolder::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(file_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw WriteFailure(errno, path_ + "/" + temporaryName_);
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string EmlFolder::keep(const std::string &stem) {
    // Some file systems report a failed write only when the file is closed.
    const int file = std::exchange(file_, -1);
    if (::close(file) != 0) {
        const int error = errno;
        ::unlinkat(folder_, temporaryName_.c_str(), 0);
        throw WriteFailure(error, path_ + "/" + temporaryName_);
    }
    for (int attempt = 1; attempt <= mostNameTries; ++attempt) {
        std::string name = stem;
        if (attempt > 1)
            name.append("-").append(std::to_string(attempt));
        name.append(".eml");
        if (tryName(name))
            return name;
    }
    ::unlinkat(folder_, temporaryName_.c_str(), 0);
    throw WriteFailure(EEXIST, path_ + "/" + stem + ".eml");
}

bool EmlFolder::tryName(const std::string &name) {
    if (!linkInstead_) {
        if (::renameat2(folder_, temporaryName_.c_str(), folder_, name.c_str(), RENAME_NOREPLACE) ==
            0)
            return true;
        if (errno == EEXIST)
            return false;
        if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
            throw WriteFailure(errno, path_ + "/" + name);
        linkInstead_ = true;
    }
    if (::linkat(folder_, temporaryName_.c_str(), folder_, name.c_str(), 0) != 0) {
        if (errno == EEXIST)
            return false;
        throw WriteFailure(errno, path_ + "/" + name);
    }
    if (::unlinkat(folder_, temporaryName_.c_str(), 0) != 0)
        throw WriteFailure(errno, path_ + "/" + temporaryName_);
    return true;
}

void EmlFolder::discard() {
    if (file_ < 0)
        return;
    ::close(std::exchange(file_, -1));
    ::unlinkat(folder_, temporaryName_.c_str(), 0);
}

} // namespace qb::dbx
