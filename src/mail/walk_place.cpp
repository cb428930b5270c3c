#include "mail/walk_place.h"

#include "failure/caught_failure.h"

namespace qb::mail {

std::string WalkPlace::folderPath() const {
    std::string path;
    for (const Entry &entry : folders_) {
        if (!entry.name) {
            std::string name;
            const bool unreadable = CaughtFailure([&] { name = entry.folder->name(); }).has_value();
            entry.name = unreadable ? std::string("?") : name;
        }
        path += (&entry == &folders_.front() ? "" : "/") + *entry.name;
    }
    return path;
}

void WalkPlace::startStore(std::string storeName) {
    storeName_ = std::move(storeName);
    topFolder_.clear();
    folders_.clear();
    item_ = 0;
}

void WalkPlace::enterFolder(std::shared_ptr<outlook::Folder> folder) {
    folders_.push_back({std::move(folder), std::nullopt});
    item_ = 0;
}

void WalkPlace::leaveFolder() {
    folders_.pop_back();
    item_ = 0;
    if (folders_.empty())
        topFolder_.clear();
}

void WalkPlace::setTopFolder(const std::optional<std::string> &name) {
    topFolder_ = name.value_or("");
    if (name && folders_.size() == 1)
        folders_.front().name = name;
}

} // namespace qb::mail
