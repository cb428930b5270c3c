#pragma once

#include "failure/failure.h"
#include "platform/outlook_api.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qb::outlook {

/// What the walk of one store keeps besides its rows: the chain of folders it is in, and the
/// items it could not read at all. Such items get no row and no report of their own, since
/// every cell of theirs would fail; one report at the end of the store counts them instead.
class StoreWalk {
  public:
    explicit StoreWalk(std::string storeName = {}) : storeName_(std::move(storeName)) {}

    /// Notes an item that could not be read, at that position (from 1) of the items of the
    /// folder the walk is in; classFailure is what reading its class threw.
    void addUnreadable(int position, const Failure &classFailure);

    /// Throws a Failure that says how many items of the store could not be read and where the
    /// first few lie, when there were any.
    void checkAllRead() const;

  private:
    friend class InsideFolder;
    /// The names from the level-1 folder down to the folder the walk is in, joined by "/".
    std::string folderPath() const;

    std::string storeName_;
    std::vector<std::shared_ptr<Folder>> folders_;
    int unreadableCount_ = 0;
    std::vector<std::string> firstUnreadable_;
    std::optional<Failure> firstFailure_;
};

/// Keeps the walk inside a folder below the store root for as long as it lives, however the
/// walk of that folder ends.
class InsideFolder {
  public:
    InsideFolder(StoreWalk &walk, std::shared_ptr<Folder> folder) : walk_(walk) {
        walk_.folders_.push_back(std::move(folder));
    }
    ~InsideFolder() { walk_.folders_.pop_back(); }
    InsideFolder(const InsideFolder &) = delete;
    InsideFolder &operator=(const InsideFolder &) = delete;

  private:
    StoreWalk &walk_;
};

/// Gives the walk of one store a fresh StoreWalk for as long as it lives, then puts back the
/// one it replaced: that of a listing which a yield interrupted to start this one.
class CurrentStoreWalk {
  public:
    CurrentStoreWalk(StoreWalk &current, std::string storeName)
        : current_(current), interrupted_(std::exchange(current, StoreWalk(std::move(storeName)))) {
    }
    ~CurrentStoreWalk() { current_ = std::move(interrupted_); }
    CurrentStoreWalk(const CurrentStoreWalk &) = delete;
    CurrentStoreWalk &operator=(const CurrentStoreWalk &) = delete;

  private:
    StoreWalk &current_;
    StoreWalk interrupted_;
};

} // namespace qb::outlook
