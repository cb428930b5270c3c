#include "files/descriptor.h"

#include <cerrno>
#include <unistd.h>
#include <utility>

namespace qb::files {

Descriptor::Descriptor(Descriptor &&other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)) {}

Descriptor &Descriptor::operator=(Descriptor &&other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
    }
    return *this;
}

Descriptor::~Descriptor() {
    if (descriptor_ >= 0)
        ::close(descriptor_);
}

bool Descriptor::close() {
    // Linux releases the descriptor even when close fails, so it is never closed twice.
    return ::close(std::exchange(descriptor_, -1)) == 0;
}

bool WriteAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace qb::files
