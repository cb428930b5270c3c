#include "files/appended_file.h"

#include "failure/system_failure.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::files {

AppendedFile::AppendedFile(Folder &folder, const std::string &name, std::string target)
    : target_(std::move(target)), file_(::openat(folder.descriptor(), name.c_str(),
                                                 O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC)) {
    if (!file_.isOpen())
        throw SystemFailure(errno, target_);
    struct stat info {};
    if (::fstat(file_.get(), &info) != 0)
        throw SystemFailure(errno, target_);
    if (!S_ISREG(info.st_mode))
        throw SystemFailure(EINVAL, target_);
    start_ = size_ = static_cast<std::uint64_t>(info.st_size);
}

void AppendedFile::write(std::string_view bytes) {
    if (WriteAll(file_.get(), bytes)) {
        size_ += bytes.size();
        return;
    }
    const Failure failure = SystemFailure(errno, target_);
    cutBack(size_);
    throw failure;
}

void AppendedFile::cutBack(std::uint64_t size) {
    const auto length = static_cast<off_t>(std::max(size, start_));
    if (::ftruncate(file_.get(), length) != 0)
        throw SystemFailure(errno, target_);
    size_ = static_cast<std::uint64_t>(length);
}

void AppendedFile::finish() {
    if (::fsync(file_.get()) != 0)
        throw SystemFailure(errno, target_);
    if (!file_.close())
        throw SystemFailure(errno, target_);
}

} // namespace qb::files
