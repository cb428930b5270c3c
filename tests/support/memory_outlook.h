#pragma once

#include "mail/message.h"
#include "platform/outlook_api.h"

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

// An in-memory mail store layer that tests build trees with: stores, nested folders, items of
// any class, and failures on chosen properties.
namespace qb::test {

struct MemoryItem;

/// An attachment of a memory item; an empty text is a property the store does not keep.
struct MemoryFile {
    mail::AttachmentKind kind = mail::AttachmentKind::ByValue;
    std::string longFileName{};
    std::string shortFileName{};
    std::string displayName{};
    std::string mimeType{};
    std::string contentId{};
    std::string data{};
    /// The message an EmbeddedMessage attachment holds.
    std::shared_ptr<MemoryItem> message{};
    /// The attachment holds the very message it is attached to, as a damaged store may loop.
    bool attachesHolder = false;
    /// "Kind", "Names", "MimeType", "ContentId", "Data", "Message" throw when read.
    std::set<std::string> failing{};
    /// A read of the data beyond this many bytes throws.
    std::optional<std::size_t> dataFailsAfter{};
};

/// One item of a memory folder. Properties named in `failing` throw when read, through the
/// object model and through the message model alike ("Class" fails messageClass too).
struct MemoryItem {
    int itemClass = outlook::olMail;
    /// Attachments without name or data, after the files.
    int attachments = 0;
    std::vector<MemoryFile> files;
    std::string senderEmailAddress;
    std::string senderEmailType = "SMTP";
    std::string senderName;
    /// Local time of delivery; the default LocalDateTime is a message without any time.
    LocalDateTime receivedTime{2024, 3, 3, 14, 5, 9};
    std::string body;
    /// "HtmlBody", "RtfBody", "TransportHeaders", "MessageId" (all three ids) fail these.
    std::optional<std::string> htmlBody;
    int htmlCodepage = 65001;
    std::optional<std::string> rtfBody;
    std::optional<std::string> transportHeaders;
    std::string senderSmtpAddress;
    std::string messageId;
    std::string inReplyTo;
    std::string references;
    std::string subject;
    std::string displayTo;
    std::vector<mail::Recipient> recipients;
    std::string entryId;           // given by the store when empty
    std::set<std::string> failing; // "Class", "Body", "SenderName", ..., "SaveAs", "Recipients",
                                   // "Attachments", "Attachment" (each one)
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
