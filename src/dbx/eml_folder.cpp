#include "dbx/eml_folder.h"

#include "failure/system_failure.h"
#include "files/staged_names.h"

#include <cerrno>

namespace qb::dbx {
namespace {

// Past this many names taken, the folder is not one a conversion can sensibly add to.
constexpr int mostNameTries = 1000000;

std::string NumberedName(const std::string &stem, int attempt) {
    return stem + (attempt > 1 ? "-" + std::to_string(attempt) : std::string()) + ".eml";
}

} // namespace

EmlFolder::EmlFolder(const std::string &path) : folder_(path) {
    files::RemoveStaleStagedFiles(folder_);
}

void EmlFolder::begin() {
    file_.reset();
    // Until the file has a name, its failures name the folder it is written into.
    file_.emplace(folder_, folder_.path());
}

void EmlFolder::write(std::string_view bytes) {
    file_->write(bytes);
}

std::string EmlFolder::keep(const std::string &stem) {
    file_->finish(files::Durability::Unsynced);
    for (int attempt = 1; attempt <= mostNameTries; ++attempt) {
        const std::string name = NumberedName(stem, attempt);
        file_->retarget(folder_.path() + "/" + name);
        if (file_->place(name, files::Placement::KeepExisting)) {
            file_.reset();
            return name;
        }
    }
    file_.reset();
    throw SystemFailure(EEXIST, folder_.path() + "/" + stem + ".eml");
}

void EmlFolder::discard() {
    file_.reset();
}

} // namespace qb::dbx
