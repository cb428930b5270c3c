#include "platform/linux/posix_file_system.h"

#include "failure/system_failure.h"
#include "files/whole_file.h"

#include <cerrno>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

namespace qb {
namespace {

namespace fs = std::filesystem;

struct SplitPattern {
    std::string folder; // with final "/", or empty for the current folder
    std::string name;
};

SplitPattern splitPattern(const std::string &pattern) {
    const std::size_t slash = pattern.rfind('/');
    if (slash == std::string::npos)
        return {std::string(), pattern};
    return {pattern.substr(0, slash + 1), pattern.substr(slash + 1)};
}

/// Regular files the pattern names; hidden ones only when named without wildcards.
std::vector<std::string> matchingPaths(const std::string &pattern) {
    const SplitPattern split = splitPattern(pattern);
    std::vector<std::string> paths;
    if (!HasWildcard(split.name)) {
        struct stat info {};
        if (!split.name.empty() && ::stat(pattern.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            paths.push_back(pattern);
        return paths;
    }
    std::error_code error;
    const fs::path folder = split.folder.empty() ? fs::path(".") : fs::path(split.folder);
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with('.') || !it->is_regular_file(error))
            continue;
        if (MatchesWildcard(name, split.name))
            paths.push_back(split.folder + name);
    }
    return paths;
}

/// What a delete does with a file its owner may not write.
enum class ReadOnlyFiles { Refuse, MakeWritable };

void removeMatching(const std::string &pattern, ReadOnlyFiles readOnly) {
    const std::vector<std::string> paths = matchingPaths(pattern);
    if (paths.empty())
        throw SystemFailure(ENOENT, pattern);
    for (const std::string &path : paths) {
        // lstat, so that the mode looked at and changed is never that of a link's target.
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            (info.st_mode & S_IWUSR) == 0) {
            if (readOnly == ReadOnlyFiles::Refuse)
                throw SystemFailure(EACCES, path);
            ::chmod(path.c_str(), info.st_mode | S_IWUSR);
        }
        if (::unlink(path.c_str()) != 0)
            throw SystemFailure(errno, path);
    }
}

} // namespace

bool HasWildcard(const std::string &name) {
    return name.find_first_of("*?") != std::string::npos;
}

bool MatchesWildcard(const std::string &name, const std::string &pattern) {
    // FNM_NOESCAPE keeps "\" literal; "[" is escaped so that it matches itself only.
    std::string escaped;
    for (char c : pattern) {
        if (c == '[')
            escaped += "[[]";
        else
            escaped += c;
    }
    return ::fnmatch(escaped.c_str(), name.c_str(), FNM_NOESCAPE | FNM_PERIOD) == 0;
}

void WriteFileSafely(const std::string &path, const std::string &bytes) {
    files::WriteWholeFile(path, bytes, files::Placement::Replace);
}

std::int64_t PosixFileSystem::modificationTime(const std::string &path) {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0)
        throw SystemFailure(path.empty() ? ENOENT : errno, path);
    return static_cast<std::int64_t>(info.st_mtime);
}

bool PosixFileSystem::isFolder(const std::string &path) {
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::vector<std::string> PosixFileSystem::listFiles(const std::string &pattern) {
    std::vector<std::string> names;
    for (const std::string &path : matchingPaths(pattern)) {
        const std::size_t slash = path.rfind('/');
        const std::string_view name =
            std::string_view(path).substr(slash == std::string::npos ? 0 : slash + 1);
        if (!name.starts_with('.'))
            names.emplace_back(name);
    }
    return names;
}

std::uint64_t PosixFileSystem::fileSize(const std::string &path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw SystemFailure(errno, path);
    return static_cast<std::uint64_t>(info.st_size);
}

std::string PosixFileSystem::readAll(const std::string &path) {
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw SystemFailure(errno ? errno : ENOENT, path);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw SystemFailure(EIO, path);
    return bytes;
}

void PosixFileSystem::write(const std::string &path, const std::string &bytes) {
    WriteFileSafely(path, bytes);
}

void PosixFileSystem::append(const std::string &path, const std::string &bytes) {
    files::AppendWhole(path, bytes);
}

void PosixFileSystem::remove(const std::string &pattern) {
    // An ordinary delete refuses read-only files; the forced delete takes them too.
    removeMatching(pattern, ReadOnlyFiles::Refuse);
}

void PosixFileSystem::forceRemove(const std::string &pattern) {
    removeMatching(pattern, ReadOnlyFiles::MakeWritable);
}

void PosixFileSystem::createFolders(const std::string &path) {
    std::error_code error;
    fs::create_directories(path, error);
    if (error)
        throw SystemFailure(error.value(), path);
}

std::string PosixFileSystem::hostPath(const std::string &path) {
    struct stat status {};
    return !path.empty() && ::lstat(path.c_str(), &status) == 0 ? path : std::string();
}

} // namespace qb
