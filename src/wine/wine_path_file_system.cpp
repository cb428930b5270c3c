#include "wine/wine_path_file_system.h"

#include "failure/system_failure.h"
#include "platform/linux/posix_file_system.h"
#include "text/plain_text.h"
#include "wine/wine_paths.h"

#include <dirent.h>

#include <cerrno>
#include <optional>

namespace qb {
namespace {

/// A drive-letter pattern cut before its last name: "C:\Mail\*.dbx" is "C:\Mail" and "*.dbx".
struct DrivePattern {
    std::string folder;
    std::string name;
};

DrivePattern splitDrivePattern(const std::string &pattern) {
    std::size_t separator = pattern.find_last_of("\\/");
    if (separator == std::string::npos || separator < 2)
        return {pattern.substr(0, 2), pattern.substr(std::min<std::size_t>(2, pattern.size()))};
    return {pattern.substr(0, separator), pattern.substr(separator + 1)};
}

/// A pattern whose names the wrapped file system can match as they are.
bool isPlain(const std::string &pattern) {
    return !HasDriveLetter(pattern) || !HasWildcard(splitDrivePattern(pattern).name);
}

/// The folder whose entries a host pattern lists: nothing when its last name holds no wildcard
/// (then it names one file).
std::optional<std::string> listedFolder(const std::string &pattern) {
    const std::size_t slash = pattern.rfind('/');
    if (slash == std::string::npos)
        return HasWildcard(pattern) ? std::optional<std::string>(".") : std::nullopt;
    if (!HasWildcard(pattern.substr(slash + 1)))
        return std::nullopt;
    return slash == 0 ? std::string("/") : pattern.substr(0, slash);
}

/// Throws the system's failure when the host folder exists but cannot be listed (refused, a loop
/// of links, a device error), which a listing would otherwise take for an empty folder. A folder
/// that does not exist holds nothing, and that is no failure.
void requireListable(const std::string &folder) {
    DIR *listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        if (errno != ENOENT && errno != ENOTDIR)
            throw SystemFailure(errno, folder);
        return;
    }
    ::closedir(listing);
}

} // namespace

std::string WinePathFileSystem::host(const std::string &path) const {
    return HasDriveLetter(path) ? WineHostPath(prefix_, path) : path;
}

std::vector<std::string> WinePathFileSystem::matchingHostPaths(const std::string &pattern) {
    const DrivePattern split = splitDrivePattern(pattern);
    const std::string folder = WineHostPath(prefix_, split.folder);
    const std::string wanted = LowerCase(split.name);
    requireListable(folder);
    std::vector<std::string> paths;
    for (const std::string &name : files_.listFiles(folder + "/*"))
        if (MatchesWildcard(LowerCase(name), wanted))
            paths.push_back(folder + "/" + name);
    return paths;
}

std::int64_t WinePathFileSystem::modificationTime(const std::string &path) {
    return files_.modificationTime(host(path));
}

bool WinePathFileSystem::isFolder(const std::string &path) {
    return files_.isFolder(host(path));
}

std::vector<std::string> WinePathFileSystem::listFiles(const std::string &pattern) {
    if (isPlain(pattern)) {
        const std::string hostPattern = host(pattern);
        if (const std::optional<std::string> folder = listedFolder(hostPattern))
            requireListable(*folder);
        return files_.listFiles(hostPattern);
    }
    std::vector<std::string> names;
    for (const std::string &path : matchingHostPaths(pattern))
        names.push_back(path.substr(path.rfind('/') + 1));
    return names;
}

std::uint64_t WinePathFileSystem::fileSize(const std::string &path) {
    return files_.fileSize(host(path));
}

std::string WinePathFileSystem::readAll(const std::string &path) {
    return files_.readAll(host(path));
}

void WinePathFileSystem::write(const std::string &path, const std::string &bytes) {
    files_.write(host(path), bytes);
}

void WinePathFileSystem::append(const std::string &path, const std::string &bytes) {
    files_.append(host(path), bytes);
}

void WinePathFileSystem::remove(const std::string &pattern) {
    removeMatching(pattern, &FileSystem::remove);
}

void WinePathFileSystem::forceRemove(const std::string &pattern) {
    removeMatching(pattern, &FileSystem::forceRemove);
}

void WinePathFileSystem::removeMatching(const std::string &pattern,
                                        void (FileSystem::*removal)(const std::string &)) {
    if (isPlain(pattern))
        return (files_.*removal)(host(pattern));
    const std::vector<std::string> paths = matchingHostPaths(pattern);
    // Nothing matched: the wrapped file system says so in its own words.
    if (paths.empty())
        return (files_.*removal)(host(pattern));
    for (const std::string &path : paths)
        (files_.*removal)(path);
}

void WinePathFileSystem::createFolders(const std::string &path) {
    files_.createFolders(host(path));
}

std::string WinePathFileSystem::hostPath(const std::string &path) {
    return files_.hostPath(host(path));
}

} // namespace qb
