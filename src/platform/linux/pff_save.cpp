#include "platform/linux/pff_save.h"

#include "platform/linux/pff_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace qb {
namespace {

[[noreturn]] void RaiseWriteFailure(const std::string &path, int error) {
    std::int32_t number = pff_failure::general;
    if (error == EACCES || error == EPERM || error == EROFS)
        number = error_number::permissionDenied;
    else if (error == ENOENT || error == ENOTDIR)
        number = error_number::pathNotFound;
    throw PffFailure("Cannot save the file " + path + ": " + std::strerror(error), number);
}

} // namespace

void WriteWholeFile(const std::string &path, const std::string &bytes) {
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (!file)
        RaiseWriteFailure(path, errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written)
        RaiseWriteFailure(path, writeError);
    if (!closed)
        RaiseWriteFailure(path, errno);
}

} // namespace qb
