#include "dbx/file_window.h"

#include "failure/failure.h"

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

/// Why the file with this status cannot be read as a database, or nothing when it can.
std::optional<Failure> NotRegularFile(const struct stat &status, const std::string &path) {
    if (S_ISDIR(status.st_mode))
        return ReadFailure(EISDIR, path);
    if (!S_ISREG(status.st_mode))
        return Failure(error_number::objectErrorBase + EINVAL, "Splinterbox",
                       "Not a regular file (a FIFO, a device or a socket): " + path);
    return std::nullopt;
}

} // namespace

std::uint32_t LittleEndian32(const unsigned char *data) {
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
           static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

std::uint16_t LittleEndian16(const unsigned char *data) {
    return static_cast<std::uint16_t>(data[0] | data[1] << 8);
}

bool NamesItself(FileWindow &file, std::uint64_t offset) {
    return offset != 0 && file.uint32At(offset) == offset;
}

FileWindow::FileWindow(const std::string &path) : path_(path) {
    // A FIFO or a device could block the open or the reads for ever: it is refused before it is
    // opened, and the open itself does not wait in case it was put in the file's place meanwhile.
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw ReadFailure(errno, path);
    if (const auto refusal = NotRegularFile(status, path))
        throw *refusal;
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor_ < 0)
        throw ReadFailure(errno, path);
    if (::fstat(descriptor_, &status) != 0) {
        const int error = errno;
        ::close(descriptor_);
        throw ReadFailure(error, path);
    }
    if (const auto refusal = NotRegularFile(status, path)) {
        ::close(descriptor_);
        throw *refusal;
    }
    size_ = static_cast<std::uint64_t>(status.st_size);
}

FileWindow::~FileWindow() {
    ::close(descriptor_);
}

bool FileWindow::read(std::uint64_t offset, void *out, std::size_t length) {
    const auto bytes = view(offset, length);
    if (!bytes)
        return false;
    // copy_n, not memcpy: an empty read may see an empty buffer, whose data pointer is null.
    std::copy_n(bytes->data(), length, static_cast<char *>(out));
    return true;
}

std::optional<std::string_view> FileWindow::view(std::uint64_t offset, std::size_t length) {
    if (!holds(offset, length))
        return std::nullopt;
    Region &region = regionFor(offset, length);
    region.lastUse = ++uses_;
    if (!region.covers(offset, length))
        return std::nullopt; // the file shrank while it was read
    return std::string_view(region.bytes.data() + (offset - region.start), length);
}

std::optional<std::uint32_t> FileWindow::uint32At(std::uint64_t offset) {
    unsigned char bytes[4];
    if (!read(offset, bytes, sizeof bytes))
        return std::nullopt;
    return LittleEndian32(bytes);
}

FileWindow::Region &FileWindow::regionFor(std::uint64_t offset, std::size_t length) {
    for (Region &region : regions_)
        if (region.covers(offset, length))
            return region;
    // A read that lands within one more fill's length of a buffer's end is part of that buffer's
    // forward run (blocks read in order, or the info objects between them): it fetches more at
    // once. Anything else is a jump, which takes the buffer used least recently and starts small.
    for (Region &region : regions_) {
        const std::uint64_t end = region.start + region.length;
        if (region.length > 0 && offset >= region.start &&
            (offset < end || offset - end < region.nextFill)) {
            region.nextFill = std::min(region.nextFill * 2, largestFill);
            fill(region, offset, length);
            return region;
        }
    }
    Region &oldest = regions_[0].lastUse <= regions_[1].lastUse ? regions_[0] : regions_[1];
    oldest.nextFill = smallestFill;
    fill(oldest, offset, length);
    return oldest;
}

void FileWindow::fill(Region &region, std::uint64_t offset, std::size_t length) {
    // A little of what lies before the read comes along: a message's info object often follows
    // its blocks, and the blocks are read right after it.
    const std::uint64_t lookBehind = std::min<std::uint64_t>(
        offset - offset % pageSize, region.nextFill / 16 / pageSize * pageSize);
    const std::uint64_t start = offset - offset % pageSize - lookBehind;
    const std::size_t wanted = std::max<std::size_t>(region.nextFill, offset - start + length);
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(wanted, size_ - start));
    if (region.bytes.size() < count)
        region.bytes.resize(count);
    std::size_t done = 0;
    region.length = 0;
    while (done < count) {
        const ssize_t got = ::pread(descriptor_, region.bytes.data() + done, count - done,
                                    static_cast<off_t>(start + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw ReadFailure(errno, path_);
        if (got == 0) {
            // The file shrank under us; what is missing is past its end now.
            size_ = start + done;
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    region.start = start;
    region.length = done;
}

} // namespace qb::dbx
