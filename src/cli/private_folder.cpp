#include "cli/private_folder.h"

#include "failure/system_failure.h"
#include "files/staged_names.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace qb::cli {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view folderPrefix = "quillbarrow-export-";

std::string TemporaryArea() {
    if (::access("/dev/shm", W_OK | X_OK) == 0)
        return "/dev/shm";
    const char *base = std::getenv("TMPDIR");
    return base && *base ? base : "/tmp";
}

/// True when name is the private folder of a process that is gone.
bool IsLeftByGoneProcess(std::string_view name) {
    if (!name.starts_with(folderPrefix))
        return false;
    name.remove_prefix(folderPrefix.size());
    pid_t process = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), process);
    return error == std::errc() && end != name.data() && end != name.data() + name.size() &&
           *end == '-' && process > 0 && files::ProcessIsGone(process);
}

/// Removes the private folders that killed runs of this user left in the area. Whatever cannot
/// be removed stays: it harms nothing but the room it takes.
void RemoveLeftFolders(const std::string &area) {
    std::error_code error;
    for (fs::directory_iterator entry(area, error), end; !error && entry != end;
         entry.increment(error)) {
        struct stat info {};
        const std::string path = entry->path().string();
        if (IsLeftByGoneProcess(entry->path().filename().string()) &&
            ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
            info.st_uid == ::geteuid()) {
            std::error_code ignored;
            fs::remove_all(path, ignored);
        }
    }
}

} // namespace

PrivateFolder::PrivateFolder() {
    const std::string area = TemporaryArea();
    RemoveLeftFolders(area);
    std::string pattern =
        area + "/" + std::string(folderPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw SystemFailure(errno, pattern);
    path_ = pattern;
}

PrivateFolder::~PrivateFolder() {
    std::error_code ignored; // a folder left in the temporary area harms nothing
    std::filesystem::remove_all(path_, ignored);
}

} // namespace qb::cli
