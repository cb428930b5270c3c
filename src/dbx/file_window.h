#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qb::dbx {

/// A read-only file read through two buffers, so that reads which alternate between two parts of
/// the file (info objects kept apart from the message blocks) each stay in a buffer of their own.
/// A buffer grows while the reads it serves run forward and shrinks again after a jump: reads
/// in order cost one system call per megabyte, and scattered reads do not each fetch a megabyte.
class FileWindow {
  public:
    /// Opens the file; throws Failure when it cannot be opened or is no regular file. A FIFO, a
    /// device or a socket is refused before it is opened, so that nothing waits on it.
    explicit FileWindow(const std::string &path);
    ~FileWindow();
    FileWindow(const FileWindow &) = delete;
    FileWindow &operator=(const FileWindow &) = delete;

    const std::string &path() const { return path_; }
    std::uint64_t size() const { return size_; }
    /// True when the length bytes at offset lie wholly inside the file.
    bool holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    /// The length bytes at offset as they lie in a buffer, valid until the next read; nothing
    /// when they do not lie wholly inside the file. Throws Failure when the file cannot be read.
    std::optional<std::string_view> view(std::uint64_t offset, std::size_t length);
    /// Copies length bytes at offset into out; false, copying nothing, when they do not lie
    /// wholly inside the file. Throws Failure when the file cannot be read.
    bool read(std::uint64_t offset, void *out, std::size_t length);
    /// The little-endian 4-byte value at offset, or nothing past the end of the file.
    std::optional<std::uint32_t> uint32At(std::uint64_t offset);

  private:
    struct Region {
        std::vector<char> bytes;
        std::uint64_t start = 0;
        std::size_t length = 0;
        std::size_t nextFill = 0;
        std::uint64_t lastUse = 0;

        bool covers(std::uint64_t offset, std::size_t count) const {
            return offset >= start && offset + count <= start + length;
        }
    };

    Region &regionFor(std::uint64_t offset, std::size_t length);
    void fill(Region &region, std::uint64_t offset, std::size_t length);

    int descriptor_ = -1;
    std::string path_;
    std::uint64_t size_ = 0;
    std::array<Region, 2> regions_;
    std::uint64_t uses_ = 0;
};

/// True when the object at offset holds its own offset in its first four bytes, as every tree
/// node, info object and data block of a sound database does.
bool NamesItself(FileWindow &file, std::uint64_t offset);

/// The little-endian value of the bytes at data.
std::uint32_t LittleEndian32(const unsigned char *data);
std::uint16_t LittleEndian16(const unsigned char *data);

} // namespace qb::dbx
