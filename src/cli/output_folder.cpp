#include "cli/output_folder.h"

#include "export/output_names.h"
#include "files/staged_names.h"

#include <fcntl.h>
#include <sys/stat.h>

namespace qb::cli {

OutputFolder::OutputFolder(std::shared_ptr<files::Folder> folder, EarlierFiles earlier,
                           FileNaming naming, std::shared_ptr<files::Folder> staging)
    : folder_(std::move(folder)), staging_(staging ? std::move(staging) : folder_),
      earlier_(earlier), naming_(naming) {
    if (staging_ != folder_)
        files::RemoveStaleStagedFiles(*staging_);
    for (std::string &name : files::RemoveStaleStagedFiles(*folder_))
        earlierNames_.insert(keyOf(name));
}

files::StagedFile OutputFolder::stage(const std::string &target) {
    return files::StagedFile(*staging_, target);
}

std::string OutputFolder::keyOf(const std::string &name) const {
    return naming_ == FileNaming::Maildir ? name.substr(0, name.find(':')) : name;
}

std::string OutputFolder::numbered(const std::string &stem, const std::string &ending,
                                   int copy) const {
    if (copy <= 1)
        return exporting::FittedFileName(stem, ending);
    const std::string number = std::to_string(copy);
    return naming_ == FileNaming::Maildir
               ? exporting::FittedFileName(stem, "-" + number + ending)
               : exporting::FittedFileName(stem, " (" + number + ")" + ending);
}

std::string OutputFolder::nextName(const std::string &stem, const std::string &ending) {
    int &copy = nextCopy_.try_emplace(stem + '\0' + ending, 1).first->second;
    for (;;) {
        std::string name = numbered(stem, ending, copy++);
        if (given_.contains(name) ||
            (earlier_ == EarlierFiles::KeepAndNumber && earlierNames_.contains(name)))
            continue;
        given_.insert(name);
        return name;
    }
}

std::optional<std::string> OutputFolder::nameFor(const std::string &stem,
                                                 const std::string &ending) {
    const std::lock_guard lock(mutex_);
    std::string name = nextName(stem, ending);
    if (earlier_ == EarlierFiles::Skip && earlierNames_.contains(name))
        return std::nullopt;
    return name;
}

bool OutputFolder::existedBefore(const std::string &name) {
    const std::lock_guard lock(mutex_);
    return earlierNames_.contains(keyOf(name));
}

bool OutputFolder::place(files::StagedFile &file, const std::string &stem,
                         const std::string &ending, const std::string &name,
                         const std::string &suffix) {
    std::string current = name;
    for (;;) {
        file.retarget(path() + "/" + current + suffix);
        if (earlier_ == EarlierFiles::Overwrite) {
            // A folder of that name cannot be written over; the next number serves instead.
            if (!isFolder(current + suffix)) {
                file.place(*folder_, current + suffix, files::Placement::Replace);
                return true;
            }
        } else if (file.place(*folder_, current + suffix, files::Placement::KeepExisting)) {
            return true;
        } else if (earlier_ == EarlierFiles::Skip) {
            return false;
        }
        const std::lock_guard lock(mutex_);
        earlierNames_.insert(current);
        current = nextName(stem, ending);
    }
}

bool OutputFolder::isFolder(const std::string &name) const {
    struct stat info {};
    return ::fstatat(folder_->descriptor(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(info.st_mode);
}

} // namespace qb::cli
