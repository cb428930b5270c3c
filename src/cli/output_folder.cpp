#include "cli/output_folder.h"

#include "cli/message_names.h"
#include "failure/system_failure.h"
#include "files/staged_names.h"

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace qb::cli {

OutputFolder::OutputFolder(std::string path, EarlierFiles earlier)
    : path_(std::move(path)), earlier_(earlier) {
    std::error_code error;
    std::filesystem::create_directories(path_, error);
    if (error)
        throw SystemFailure(error.value(), path_);
    folder_.emplace(path_);
    // Only a file really created proves the folder writable (read-only mounts, ACLs, quotas).
    files::StagedFile probe(*folder_, path_);
    for (std::string &name : files::RemoveStaleStagedFiles(*folder_))
        earlierNames_.insert(std::move(name));
}

std::string OutputFolder::nextName(const std::string &stem) {
    int &copy = nextCopy_.try_emplace(stem, 1).first->second;
    for (;;) {
        std::string name = NumberedFileName(stem, copy++);
        if (given_.contains(name) ||
            (earlier_ == EarlierFiles::KeepAndNumber && earlierNames_.contains(name)))
            continue;
        given_.insert(name);
        return name;
    }
}

std::optional<std::string> OutputFolder::nameFor(const std::string &stem) {
    std::string name = nextName(stem);
    if (earlier_ == EarlierFiles::Skip && earlierNames_.contains(name))
        return std::nullopt;
    return name;
}

bool OutputFolder::place(files::StagedFile &file, const std::string &stem,
                         const std::string &name) {
    std::string current = name;
    for (;;) {
        file.retarget(path_ + "/" + current);
        if (earlier_ == EarlierFiles::Overwrite) {
            // A folder of that name cannot be written over; the next number serves instead.
            if (!isFolder(current)) {
                file.place(current, files::Placement::Replace);
                return true;
            }
        } else if (file.place(current, files::Placement::KeepExisting)) {
            return true;
        } else if (earlier_ == EarlierFiles::Skip) {
            return false;
        }
        earlierNames_.insert(current);
        current = nextName(stem);
    }
}

bool OutputFolder::isFolder(const std::string &name) const {
    struct stat info {};
    return ::fstatat(folder_->descriptor(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(info.st_mode);
}

} // namespace qb::cli
