#pragma once

#include "mail/message.h"
#include "platform/outlook_api.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// An in-memory mail store layer that tests build trees with: stores, nested folders, items of
// any class, and failures on chosen properties.
namespace qb::test {

/// One item of a memory folder. Properties named in `failing` throw when read, through the
/// object model and through the message model alike ("Class" fails messageClass too).
struct MemoryItem {
    int itemClass = outlook::olMail;
    int attachments = 0;
    std::string senderEmailAddress;
    std::string senderEmailType = "SMTP";
    std::string senderName;
    /// Local time of delivery; the default LocalDateTime is a message without any time.
    LocalDateTime receivedTime{2024, 3, 3, 14, 5, 9};
    std::string body;
    std::string subject;
    std::string displayTo;
    std::vector<mail::Recipient> recipients;
    std::string entryId;           // given by the store when empty
    std::set<std::string> failing; // "Class", "Body", "SenderName", ..., "SaveAs", "Recipients"
    /// Text SaveAs writes; the default renders the header lines and the body.
    std::function<std::string(const MemoryItem &)> render;
};

struct MemoryFolder {
    std::string name;
    std::vector<std::shared_ptr<MemoryFolder>> folders;
    std::vector<std::shared_ptr<MemoryItem>> items;
    std::set<std::string> failing; // "name", "defaultValue", "Folders", "Items", "Folders.count"

    /// Adds a subfolder and returns it.
    MemoryFolder &add(const std::string &folderName);
    /// Adds an item and returns it.
    MemoryItem &add(MemoryItem item);
};

/// A store: a file path and its root folder.
struct MemoryStore {
    std::string filePath;
    std::shared_ptr<MemoryFolder> root = std::make_shared<MemoryFolder>();
};

/// The mail-store layer: the profile's stores, the files AddStore can attach, and what the
/// program did with them. Every application object it creates shares this state.
class MemoryMailStoreLayer : public outlook::MailStoreLayer {
  public:
    std::shared_ptr<outlook::Application> createApplication() override;

    /// Adds a store to the profile and returns its root.
    MemoryFolder &addProfileStore(const std::string &rootName, const std::string &filePath = "");
    /// Makes a file that AddStore can attach; returns its root.
    MemoryFolder &addStoreFile(const std::string &filePath, const std::string &rootName);

    std::string version = "16.0";
    bool unavailable = false;
    std::vector<std::shared_ptr<MemoryStore>> profile;
    std::map<std::string, std::shared_ptr<MemoryStore>> files;
    /// Stores opened at some time in this run, for GetItemFromID.
    std::vector<std::shared_ptr<MemoryStore>> opened;
    std::vector<std::string> calls; // "AddStore path", "RemoveStore name", "GetItemFromID id"
    int applicationsCreated = 0;
    int applicationsAlive = 0;
    /// Runs when a walk reads a folder's items, for tests that change the tree meanwhile.
    std::function<void(MemoryFolder &)> onItemsRead;
    /// Finds an item by EntryID in every opened store; null when none has it.
    std::shared_ptr<MemoryItem> find(const std::string &entryId);

  private:
    void assignEntryIds(MemoryFolder &folder);
    int nextEntryId_ = 1;
};

} // namespace qb::test
