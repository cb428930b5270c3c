#pragma once

#include <cstdint>
#include <vector>

namespace qb::dbx {

/// The objects of one kind (tree nodes, message info objects or data blocks) that a reading of a
/// database has already taken, by the file offset they start at. Sound objects are 16 bytes or
/// longer and never overlap, so no two of them start within the same 16 bytes: one bit per 16 bytes
/// of the file tells them apart, whatever the file's offsets claim. Offsets are 4-byte values, so
/// at most the file's first 4 GiB are covered, in at most 32 MiB.
class SeenObjects {
  public:
    explicit SeenObjects(std::uint64_t fileSize);

    /// Marks the object at offset as taken; false when it was taken before. Offsets past the
    /// part of the file that is covered are never marked.
    bool markNew(std::uint64_t offset);

  private:
    std::vector<bool> taken_;
};

} // namespace qb::dbx
