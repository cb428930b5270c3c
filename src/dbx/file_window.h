#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qb::dbx {

/// A read-only file read through a buffer: small reads that follow each other cost one system
/// call per buffer fill, and the buffer grows while the reads run forward and shrinks again after
/// a jump, so scattered reads do not each fetch a megabyte.
class FileWindow {
  public:
    /// Opens the file; throws Failure when it cannot be opened or its size cannot be read.
    explicit FileWindow(const std::string &path);
    ~FileWindow();
    FileWindow(const FileWindow &) = delete;
    FileWindow &operator=(const FileWindow &) = delete;

    std::uint64_t size() const { return size_; }
    /// True when the length bytes at offset lie wholly inside the file.
    bool holds(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }
    /// Copies length bytes at offset into out; false, copying nothing, when they do not lie
    /// wholly inside the file. Throws Failure when the file cannot be read.
    bool read(std::uint64_t offset, void *out, std::size_t length);
    /// The little-endian 4-byte value at offset, or nothing past the end of the file.
    std::optional<std::uint32_t> uint32At(std::uint64_t offset);

  private:
    void fill(std::uint64_t offset, std::size_t length);

    int descriptor_ = -1;
    std::string path_;
    std::uint64_t size_ = 0;
    std::vector<char> buffer_;
    std::uint64_t bufferStart_ = 0;
    std::size_t bufferLength_ = 0;
    std::size_t nextFill_;
};

/// The little-endian value of the bytes at data.
std::uint32_t LittleEndian32(const unsigned char *data);
std::uint16_t LittleEndian16(const unsigned char *data);

} // namespace qb::dbx
