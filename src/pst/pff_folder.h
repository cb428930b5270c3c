#pragma once

#include "platform/outlook_api.h"
#include "pst/pff_children.h"

#include <memory>
#include <optional>
#include <string>

namespace qb {

/// A folder of an Outlook data file. A store's root folder carries the store's name.
class PffFolder : public outlook::Folder {
  public:
    /// storePath is the path the store was opened with; rootName is given for a store's root.
    PffFolder(std::shared_ptr<PffItemHandle> folder, std::string storePath,
              std::optional<std::string> rootName = std::nullopt);

    std::string name() override;
    std::string defaultValue() override { return name(); }
    std::shared_ptr<outlook::Folders> folders() override;
    std::shared_ptr<outlook::Items> items() override;
    std::string storeFilePath() override { return storePath_; }

  private:
    std::shared_ptr<PffItemHandle> folder_;
    std::string storePath_;
    std::optional<std::string> rootName_;
};

/// The subfolders of a folder, in the file's order; each is read when asked for.
class PffFolders : public outlook::Folders {
  public:
    PffFolders(std::shared_ptr<PffItemHandle> parent, std::string storePath);

    int count() override { return subfolders_.count(); }
    std::shared_ptr<outlook::Folder> item(int index) override;
    std::shared_ptr<outlook::Folder> GetLast() override;

  private:
    PffChildren subfolders_;
    std::string storePath_;
};

/// The messages of a folder, in the file's order; each is read when asked for.
class PffItems : public outlook::Items {
  public:
    explicit PffItems(std::shared_ptr<PffItemHandle> folder);

    int count() override { return messages_.count(); }
    std::shared_ptr<outlook::Item> item(int index) override;

  private:
    PffChildren messages_;
};

/// The last folder of a collection, or null when it is empty.
std::shared_ptr<outlook::Folder> LastFolder(outlook::Folders &folders);

} // namespace qb
