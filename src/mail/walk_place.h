#pragma once

#include "platform/outlook_api.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb::mail {

/// Where a walk is in its store: the store, the chain of folders from the level-1 folder down to
/// the folder being walked, and the item being read. Folder names are read only when a report
/// needs them, so a walk that meets no failure reads no more than its rows need.
class WalkPlace {
  public:
    const std::string &storeName() const { return storeName_; }
    /// The level-1 folder the walk is under; empty at the top and when its name cannot be read.
    const std::string &topFolder() const { return topFolder_; }
    /// The names from the level-1 folder down to the folder being walked, joined by "/"; empty
    /// at the top. Each name is read once, when first asked for; one that cannot be read shows
    /// as "?", since the path only helps to find what a report is about.
    std::string folderPath() const;
    /// Position (from 1) of the item being read among its folder's items; 0 between items.
    int item() const { return item_; }

    /// Starts the walk of a store, at its top folder.
    void startStore(std::string storeName);
    /// Goes into a subfolder of the folder being walked.
    void enterFolder(std::shared_ptr<outlook::Folder> folder);
    /// Goes back to the folder that holds the one being walked.
    void leaveFolder();
    /// Takes the name of the level-1 folder just entered; empty when it cannot be read.
    void setTopFolder(const std::optional<std::string> &name);
    void setItem(int position) { item_ = position; }

  private:
    struct Entry {
        std::shared_ptr<outlook::Folder> folder;
        mutable std::optional<std::string> name;
    };
    std::string storeName_;
    std::string topFolder_;
    std::vector<Entry> folders_;
    int item_ = 0;
};

/// Keeps a walk inside a folder for as long as it lives, however the walk of that folder ends.
class InsideFolder {
  public:
    InsideFolder(WalkPlace &place, std::shared_ptr<outlook::Folder> folder) : place_(place) {
        place_.enterFolder(std::move(folder));
    }
    ~InsideFolder() { place_.leaveFolder(); }
    InsideFolder(const InsideFolder &) = delete;
    InsideFolder &operator=(const InsideFolder &) = delete;

  private:
    WalkPlace &place_;
};

} // namespace qb::mail
