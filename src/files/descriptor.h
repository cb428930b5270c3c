#pragma once

#include <string_view>

namespace qb::files {

/// An open file descriptor, closed when it goes out of scope.
class Descriptor {
  public:
    Descriptor() = default;
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    Descriptor(Descriptor &&other) noexcept;
    Descriptor &operator=(Descriptor &&other) noexcept;
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor();

    int get() const { return descriptor_; }
    bool isOpen() const { return descriptor_ >= 0; }
    /// Closes now; false, with errno set, when the close reports the failure of a late write.
    bool close();

  private:
    int descriptor_ = -1;
};

/// Writes all bytes to an open file, going on after short and interrupted writes; false, with
/// errno set, on failure (EIO when the system wrote nothing and named no error).
bool WriteAll(int descriptor, std::string_view bytes);

} // namespace qb::files
