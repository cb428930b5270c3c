#pragma once

#include "support/pst/pst_message.h"
#include "support/pst/pst_named_properties.h"
#include "support/pst/pst_node_database.h"
#include "support/pst/pst_table_context.h"

#include <map>
#include <memory>
#include <string>

namespace qb::pstmaker {

using FolderId = NodeId;

/// What a folder holds, as its container class says it: "IPF.Note", "IPF.Appointment",
/// "IPF.Contact".
enum class FolderKind { mail, calendar, contacts };

/// Writes a Unicode Outlook data file (.pst) in one pass: the folders the format needs (the
/// root folder, the top of personal folders with Deleted Items, the search root and the spam
/// search folder), the folders and messages added in between, and on finish() the folder
/// tables, the message store, the name-to-id map, the B-trees and the header. Messages are
/// written as they are added; memory holds only index entries and a contents row per message.
/// The same calls give the same bytes. The file appears under its name only when finish()
/// succeeds; every failure throws Failure and leaves nothing behind.
class PstStoreWriter {
  public:
    PstStoreWriter(const std::string &path, std::string displayName);
    ~PstStoreWriter();

    /// The top of personal folders (IPM subtree), where the mail folders go.
    FolderId topOfPersonalFolders() const;
    /// The Deleted Items folder every store has.
    FolderId deletedItems() const;
    FolderId addFolder(FolderId parent, const std::string &name,
                       FolderKind kind = FolderKind::mail);
    void addMessage(FolderId folder, const Message &message);
    void finish();

  private:
    struct Folder;
    Folder &createFolder(FolderId id, FolderId parent, std::string name, std::string kind);
    void writeFolder(Folder &folder);
    void writeMessageStore();
    void writeTemplates();
    Bytes entryId(NodeId node) const;

    NodeDatabase database_;
    NamedPropertyMap names_;
    std::map<FolderId, std::unique_ptr<Folder>> folders_;
    std::uint32_t nextFolderIndex_;
    std::uint32_t nextMessageIndex_;
    Guid storeKey_;
    std::string displayName_;
};

} // namespace qb::pstmaker
