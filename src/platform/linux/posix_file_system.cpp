#include "platform/linux/posix_file_system.h"

#include "failure/system_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <utility>

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

/// The folder that holds path, without a final "/" unless it is the root.
std::string holdingFolder(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
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

/// An open file descriptor, closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
    ~Descriptor() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return descriptor_; }
    /// Takes another descriptor in place of this one, which is closed.
    void reset(int descriptor) {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        descriptor_ = descriptor;
    }
    /// Closes now; false, with errno set, when the close reports a failure of a late write.
    bool close() {
        const int descriptor = std::exchange(descriptor_, -1);
        return ::close(descriptor) == 0;
    }

  private:
    int descriptor_;
};

/// Makes the folder's list of names durable, so that a rename survives a crash.
void syncFolder(const std::string &folder, const std::string &path) {
    Descriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (descriptor.get() < 0 || ::fsync(descriptor.get()) != 0)
        throw SystemFailure(errno, path);
}

/// A new, empty file under a hidden name of its own in a folder; removed again unless it was
/// renamed into place. Failures name the path the file stands in for, which the user knows.
class TemporaryFile {
  public:
    TemporaryFile(const std::string &folder, const std::string &target) : target_(target) {
        static std::atomic<unsigned> serial = 0;
        // O_EXCL makes the name ours alone; mode 0666 lets the umask decide the final mode, as
        // for any file the program creates.
        for (int attempt = 0; descriptor_.get() < 0; ++attempt) {
            path_ = folder + "/.quillbarrow-" + std::to_string(::getpid()) + "-" +
                    std::to_string(++serial) + ".tmp";
            descriptor_.reset(
                ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
            if (descriptor_.get() < 0 && (errno != EEXIST || attempt == 100))
                throw SystemFailure(errno, target_);
        }
    }
    ~TemporaryFile() {
        if (!renamed_)
            ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    void write(const std::string &bytes) {
        if (!WriteAll(descriptor_.get(), bytes))
            throw SystemFailure(errno, target_);
    }

    /// Syncs the file and renames it over the target: readers see the old file or the whole
    /// new one, never a part.
    void renameIntoPlace() {
        if (::fsync(descriptor_.get()) != 0 || !descriptor_.close() ||
            ::rename(path_.c_str(), target_.c_str()) != 0)
            throw SystemFailure(errno, target_);
        renamed_ = true;
    }

  private:
    std::string target_;
    std::string path_;
    Descriptor descriptor_{-1};
    bool renamed_ = false;
};

/// Refuses a regular file its owner may not write, as an ordinary write would; the rename that
/// replaces the file needs only the folder's permission and would otherwise pass over it.
void refuseReadOnly(const struct stat &info, const std::string &path) {
    if (S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0)
        throw SystemFailure(EACCES, path);
}

/// Appends in place and, when that fails, cuts the file back to its old length. The old bytes
/// are never rewritten, and the work grows with the bytes added only: copying the whole file for
/// every append would grow with the square of a long run's output.
void appendSafely(const std::string &path, const std::string &bytes) {
    // O_NOFOLLOW: a link put in place of the file must not lead the text to another file.
    Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC));
    if (file.get() < 0) {
        if (errno != ENOENT)
            throw SystemFailure(errno, path);
        WriteFileSafely(path, bytes);
        return;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw SystemFailure(errno, path);
    refuseReadOnly(info, path);
    // No flush to the disk here: a full disk is told by the write itself, and a flush for every
    // record would make a long one-file run crawl.
    if (!WriteAll(file.get(), bytes)) {
        Failure failure = SystemFailure(errno, path);
        if (::ftruncate(file.get(), info.st_size) != 0)
            failure = Failure(failure.number(), failure.source(),
                              failure.description() + " (its end could not be cut back)");
        throw failure;
    }
    if (!file.close())
        throw SystemFailure(errno, path);
}

} // namespace

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
    if (path.empty())
        throw SystemFailure(ENOENT, path);
    struct stat info {};
    if (::lstat(path.c_str(), &info) == 0)
        refuseReadOnly(info, path);
    const std::string folder = holdingFolder(path);
    TemporaryFile temporary(folder, path);
    temporary.write(bytes);
    temporary.renameIntoPlace();
    syncFolder(folder, path);
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
    appendSafely(path, bytes);
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
