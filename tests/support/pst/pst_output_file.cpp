#include "support/pst/pst_output_file.h"

#include "failure/failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <unistd.h>

namespace qb::pstmaker {
namespace {

constexpr std::size_t gatherLimit = 1 << 20;
constexpr const char *failureSource = "PstStoreWriter";

std::string RandomSuffix() {
    static constexpr char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::random_device device;
    std::string suffix = ".";
    for (int i = 0; i < 12; ++i)
        suffix += digits[device() % (sizeof digits - 1)];
    return suffix + ".part";
}

} // namespace

OutputFile::OutputFile(std::string path) : path_(std::move(path)) {
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        temporaryPath_ = path_ + RandomSuffix();
        descriptor_ = ::open(temporaryPath_.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (descriptor_ < 0 && errno != EEXIST)
            fail("cannot create");
    }
    if (descriptor_ < 0)
        fail("cannot create");
}

OutputFile::~OutputFile() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        ::unlink(temporaryPath_.c_str());
    }
}

void OutputFile::writeAt(std::uint64_t offset, ByteView bytes) {
    if (!pending_.empty() && offset != pendingOffset_ + pending_.size())
        flush();
    if (pending_.empty())
        pendingOffset_ = offset;
    AppendBytes(pending_, bytes);
    if (pending_.size() >= gatherLimit)
        flush();
}

void OutputFile::flush() {
    std::size_t written = 0;
    while (written < pending_.size()) {
        const ssize_t result =
            ::pwrite(descriptor_, pending_.data() + written, pending_.size() - written,
                     static_cast<off_t>(pendingOffset_ + written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0)
            fail("cannot write");
        written += static_cast<std::size_t>(result);
    }
    pending_.clear();
}

void OutputFile::resize(std::uint64_t size) {
    flush();
    if (::ftruncate(descriptor_, static_cast<off_t>(size)) != 0)
        fail("cannot resize");
}

void OutputFile::commit() {
    flush();
    if (::fsync(descriptor_) != 0)
        fail("cannot sync");
    if (::close(descriptor_) != 0) {
        descriptor_ = -1;
        ::unlink(temporaryPath_.c_str());
        fail("cannot close");
    }
    descriptor_ = -1;
    if (::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporaryPath_.c_str());
        errno = error;
        fail("cannot rename into place");
    }
}

void OutputFile::fail(const std::string &what) const {
    const int error = errno;
    throw Failure(error, failureSource, path_ + ": " + what + ": " + std::strerror(error));
}

} // namespace qb::pstmaker
