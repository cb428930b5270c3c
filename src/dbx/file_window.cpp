#include "dbx/file_window.h"

#include "platform/failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::dbx {
namespace {

constexpr std::size_t smallestFill = 16 * 1024;
constexpr std::size_t largestFill = 1024 * 1024;
constexpr std::uint64_t pageSize = 4096;

Failure ReadFailure(int error, const std::string &path) {
    return Failure(error_number::objectErrorBase + error, "Splinterbox",
                   std::string(std::strerror(error)) + ": " + path);
}

} // namespace

std::uint32_t LittleEndian32(const unsigned char *data) {
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

std::uint16_t LittleEndian16(const unsigned char *data) {
    return static_cast<std::uint16_t>(data[0] | data[1] << 8);
}

FileWindow::FileWindow(const std::string &path) : path_(path), nextFill_(smallestFill) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0)
        throw ReadFailure(errno, path);
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0) {
        const int error = errno;
        ::close(descriptor_);
        throw ReadFailure(error, path);
    }
    if (!S_ISREG(status.st_mode)) {
        ::close(descriptor_);
        throw ReadFailure(EISDIR, path);
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
}

FileWindow::~FileWindow() {
    ::close(descriptor_);
}

bool FileWindow::read(std::uint64_t offset, void *out, std::size_t length) {
    if (!holds(offset, length))
        return false;
    if (length > largestFill) {
        fill(offset, length);
    } else if (offset < bufferStart_ || offset + length > bufferStart_ + bufferLength_) {
        // A read that carries on where the buffer ended is part of a forward run: fetch more at
        // once. Anything else is a jump, which starts small again.
        const bool forward =
            offset >= bufferStart_ && offset <= bufferStart_ + bufferLength_ + pageSize;
        nextFill_ = forward ? std::min(nextFill_ * 2, largestFill) : smallestFill;
        const std::uint64_t start = offset - offset % pageSize;
        fill(start, std::max<std::size_t>(nextFill_, offset - start + length));
    }
    if (offset + length > bufferStart_ + bufferLength_)
        return false; // the file shrank while it was read
    std::memcpy(out, buffer_.data() + (offset - bufferStart_), length);
    return true;
}

std::optional<std::uint32_t> FileWindow::uint32At(std::uint64_t offset) {
    unsigned char bytes[4];
    if (!read(offset, bytes, sizeof bytes))
        return std::nullopt;
    return LittleEndian32(bytes);
}

void FileWindow::fill(std::uint64_t offset, std::size_t length) {
    length = static_cast<std::size_t>(std::min<std::uint64_t>(length, size_ - offset));
    if (buffer_.size() < length)
        buffer_.resize(length);
    std::size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(descriptor_, buffer_.data() + done, length - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            bufferLength_ = 0;
            throw ReadFailure(errno, path_);
        }
        if (got == 0) {
            // The file shrank under us; what is missing is past its end now.
            size_ = offset + done;
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bufferStart_ = offset;
    bufferLength_ = done;
}

} // namespace qb::dbx
