#pragma once

#include "platform/outlook_api.h"

#include <memory>
#include <string>
#include <vector>

namespace qb {

class PffStoreCatalog;

/// One store of the namespace's list: the path it was named by, and its identity.
struct PffStoreEntry {
    std::string path;
    std::string identity;
};

/// The "MAPI" namespace: a list of stores, the profile's first and attached files after them.
/// Stores are opened through the catalog when their root is first asked for.
class PffNamespace : public outlook::Namespace {
  public:
    PffNamespace(std::shared_ptr<PffStoreCatalog> catalog, const std::vector<std::string> &profile);

    std::shared_ptr<outlook::Folders> folders() override;
    /// Opens and appends the file; a file already in the list adds nothing. Throws Failure
    /// naming the file when it cannot be opened.
    void AddStore(const std::string &path) override;
    /// Takes the store holding that folder out of the list; throws Failure when none does.
    void RemoveStore(outlook::Folder &root) override;
    /// The message in any store opened during this run; throws Failure when there is none.
    std::shared_ptr<outlook::Item> GetItemFromID(const std::string &entryId) override;

  private:
    std::shared_ptr<PffStoreCatalog> catalog_;
    std::vector<PffStoreEntry> stores_;
};

/// The store root folders of a namespace, as the list was when asked for. A store that cannot
/// be opened fails when its root is read.
class PffRootFolders : public outlook::Folders {
  public:
    PffRootFolders(std::shared_ptr<PffStoreCatalog> catalog, std::vector<PffStoreEntry> stores);

    int count() override { return static_cast<int>(stores_.size()); }
    std::shared_ptr<outlook::Folder> item(int index) override;
    std::shared_ptr<outlook::Folder> GetLast() override;
    /// The path the store was named by; opens nothing.
    std::string storeFilePath(int index) override;

  private:
    const PffStoreEntry &store(int index);

    std::shared_ptr<PffStoreCatalog> catalog_;
    std::vector<PffStoreEntry> stores_;
};

} // namespace qb
