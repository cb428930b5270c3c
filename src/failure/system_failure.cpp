#include "failure/system_failure.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace qb {
namespace {

constexpr std::int32_t deviceError = 57;
constexpr std::int32_t diskFull = 61;
constexpr std::int32_t pathFileAccessError = 75;

/// True when the folder that would hold path exists, so that a missing path is a missing file.
bool HoldingFolderExists(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return true; // a bare name lies in the current folder
    const std::string folder = slash == 0 ? std::string("/") : path.substr(0, slash);
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::int32_t SystemErrorNumber(int error, const std::string &path) {
    switch (error) {
    case ENOENT:
        return !path.empty() && HoldingFolderExists(path) ? error_number::fileNotFound
                                                          : error_number::pathNotFound;
    case ENOTDIR:
        return error_number::pathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
        return error_number::permissionDenied;
    case ENOSPC:
    case EDQUOT:
        return diskFull;
    case EIO:
        return deviceError;
    default:
        return pathFileAccessError;
    }
}

Failure SystemFailure(int error, const std::string &path) {
    return Failure(SystemErrorNumber(error, path), "FileSystem",
                   std::string(std::strerror(error)) + ": " + path);
}

} // namespace qb
