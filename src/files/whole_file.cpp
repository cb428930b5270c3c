#include "files/whole_file.h"

#include "failure/system_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::files {
namespace {

struct SplitPath {
    std::string folder; // "." for a bare name, "/" for the root
    std::string name;
};

SplitPath Split(const std::string &path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool IsReadOnlyFile(const struct stat &info) {
    return S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
}

} // namespace

bool WriteWholeFile(const std::string &path, std::string_view bytes, Placement placement) {
    const SplitPath split = Split(path);
    if (path.empty() || split.name.empty())
        throw SystemFailure(path.empty() ? ENOENT : EISDIR, path);
    Folder folder(split.folder, path);
    struct stat info {};
    if (placement == Placement::Replace &&
        ::fstatat(folder.descriptor(), split.name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
        IsReadOnlyFile(info))
        throw SystemFailure(EACCES, path);
    StagedFile file(folder, path);
    file.write(bytes);
    file.finish(Durability::Synced);
    if (!file.place(split.name, placement))
        return false;
    folder.syncNames(path);
    return true;
}

void AppendWhole(const std::string &path, std::string_view bytes) {
    // O_NOFOLLOW: a link put in place of the file must not lead the text to another file.
    Descriptor file(::open(path.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC));
    if (!file.isOpen()) {
        if (errno != ENOENT)
            throw SystemFailure(errno, path);
        WriteWholeFile(path, bytes, Placement::Replace);
        return;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        throw SystemFailure(errno, path);
    if (IsReadOnlyFile(info))
        throw SystemFailure(EACCES, path);
    // No flush to the disk here: a full disk is told by the write itself, and a flush for every
    // record would make a long one-file download crawl.
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

} // namespace qb::files
