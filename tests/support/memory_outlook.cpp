#include "support/memory_outlook.h"

#include "failure/failure.h"
#include "platform/linux/posix_file_system.h"

#include <algorithm>
#include <ctime>

namespace qb::test {
namespace {

using outlook::Folder;
using outlook::Folders;
using outlook::Item;
using outlook::Items;

void failIfAsked(const std::set<std::string> &failing, const std::string &property) {
    if (failing.count(property))
        throw Failure(-2147467259, "Microsoft Outlook",
                      "The property \"" + property + "\" is unknown.");
}

std::string defaultRendering(const MemoryItem &item) {
    return "From:\t" + item.senderName + "\r\nSubject:\t" + item.subject + "\r\n\r\n" + item.body;
}

/// Where a memory folder lies: its store's name and the folder names below the store's top.
struct FolderPlace {
    std::string storeName;
    std::vector<std::string> path;
};

/// The moment a local time names in this machine's time zone; nothing for the default time,
/// which stands for a message without any.
std::optional<mail::Instant> InstantOf(const LocalDateTime &time) {
    if (time == LocalDateTime{})
        return std::nullopt;
    std::tm local{};
    local.tm_year = time.year - 1900;
    local.tm_mon = time.month - 1;
    local.tm_mday = time.day;
    local.tm_hour = time.hour;
    local.tm_min = time.minute;
    local.tm_sec = time.second;
    local.tm_isdst = -1;
    return mail::Instant(std::chrono::seconds(std::mktime(&local)));
}

std::optional<std::string> Stored(const std::string &text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

/// Reads a memory file's data, failing where the file says.
class MemoryFileData : public mail::ByteStream {
  public:
    explicit MemoryFileData(const MemoryFile &file) : file_(file) {}
    std::size_t read(char *buffer, std::size_t size) override {
        if (file_.dataFailsAfter && at_ + size > *file_.dataFailsAfter)
            throw Failure(-2147467259, "Microsoft Outlook", "The data block is damaged.");
        const std::size_t count = std::min(size, file_.data.size() - at_);
        file_.data.copy(buffer, count, at_);
        at_ += count;
        return count;
    }

  private:
    const MemoryFile &file_;
    std::size_t at_ = 0;
};

class MemoryMessage;

/// An attachment of a memory item: one of its files, or a nameless one it only counts.
class MemoryAttachment : public mail::Attachment {
  public:
    MemoryAttachment(std::shared_ptr<MemoryItem> holder, const MemoryFile *file, FolderPlace place)
        : holder_(std::move(holder)), file_(file), place_(std::move(place)) {}
    mail::AttachmentKind kind() override {
        return file_ ? read("Kind", file_->kind) : mail::AttachmentKind::ByValue;
    }
    std::optional<std::string> longFileName() override { return name(&MemoryFile::longFileName); }
    std::optional<std::string> shortFileName() override { return name(&MemoryFile::shortFileName); }
    std::optional<std::string> displayName() override { return name(&MemoryFile::displayName); }
    std::optional<std::string> mimeType() override {
        return file_ ? read("MimeType", Stored(file_->mimeType)) : std::nullopt;
    }
    std::optional<std::string> contentId() override {
        return file_ ? read("ContentId", Stored(file_->contentId)) : std::nullopt;
    }
    std::uint64_t size() override { return file_ ? file_->data.size() : 0; }
    std::unique_ptr<mail::ByteStream> openData() override {
        static const MemoryFile nameless;
        if (file_ && file_->kind == mail::AttachmentKind::EmbeddedMessage)
            throw Failure(-2147467259, "Microsoft Outlook", "The attachment holds no data.");
        return std::make_unique<MemoryFileData>(file_ ? read("Data", *file_) : nameless);
    }
    std::shared_ptr<mail::Message> embeddedMessage() override;

  private:
    std::optional<std::string> name(std::string MemoryFile::*field) {
        return file_ ? read("Names", Stored(file_->*field)) : std::nullopt;
    }
    template <typename T> const T &read(const std::string &property, const T &value) {
        failIfAsked(file_->failing, property);
        return value;
    }
    std::shared_ptr<MemoryItem> holder_;
    const MemoryFile *file_;
    FolderPlace place_;
};

/// The message model over a memory item; the object model's property names choose which parts
/// fail.
class MemoryMessage : public mail::Message {
  public:
    MemoryMessage(std::shared_ptr<MemoryItem> item, FolderPlace place)
        : item_(std::move(item)), place_(std::move(place)) {}
    std::string storeName() override { return place_.storeName; }
    std::vector<std::string> folderPath() override { return place_.path; }
    std::string entryId() override { return read("EntryID", item_->entryId); }
    std::string messageClass() override {
        return read("Class",
                    std::string(item_->itemClass == outlook::olMail ? "IPM.Note" : "IPM.Other"));
    }
    std::optional<bool> isRead() override { return std::nullopt; }
    std::optional<mail::Instant> deliveryTime() override {
        return read("ReceivedTime", InstantOf(item_->receivedTime));
    }
    std::optional<mail::Instant> submitTime() override { return deliveryTime(); }
    std::optional<mail::Instant> creationTime() override { return std::nullopt; }
    std::string senderName() override { return read("SenderName", item_->senderName); }
    std::string senderAddress() override {
        return read("SenderEmailAddress", item_->senderEmailAddress);
    }
    std::string senderAddressType() override {
        return read("SenderEmailType", item_->senderEmailType);
    }
    std::optional<std::string> senderSmtpAddress() override {
        return read("SenderEmailAddress", Stored(item_->senderSmtpAddress));
    }
    std::vector<mail::Recipient> recipients() override {
        return read("Recipients", item_->recipients);
    }
    std::string displayTo() override { return read("Recipients", item_->displayTo); }
    std::string displayCc() override { return read("Recipients", std::string()); }
    std::string subject() override { return read("Subject", item_->subject); }
    std::optional<std::string> plainBody() override {
        return read("Body", std::optional<std::string>(item_->body));
    }
    std::optional<mail::HtmlBody> htmlBody() override {
        if (!read("HtmlBody", item_->htmlBody))
            return std::nullopt;
        return mail::HtmlBody{*item_->htmlBody, item_->htmlCodepage};
    }
    std::optional<std::string> rtfBody() override { return read("RtfBody", item_->rtfBody); }
    int attachmentCount() override {
        return read("Attachments", static_cast<int>(item_->files.size()) + item_->attachments);
    }
    std::unique_ptr<mail::Attachment> attachment(int index) override {
        if (index < 1 || index > attachmentCount())
            throw Failure(-2147352567, "Microsoft Outlook", "Array index out of bounds.");
        failIfAsked(item_->failing, "Attachment");
        const auto file = static_cast<std::size_t>(index - 1);
        return std::make_unique<MemoryAttachment>(
            item_, file < item_->files.size() ? &item_->files[file] : nullptr, place_);
    }
    std::optional<std::string> transportHeaders() override {
        return read("TransportHeaders", item_->transportHeaders);
    }
    std::optional<std::string> messageId() override {
        return read("MessageId", Stored(item_->messageId));
    }
    std::optional<std::string> inReplyTo() override {
        return read("MessageId", Stored(item_->inReplyTo));
    }
    std::optional<std::string> references() override {
        return read("MessageId", Stored(item_->references));
    }

  private:
    template <typename T> T read(const std::string &property, const T &value) {
        failIfAsked(item_->failing, property);
        return value;
    }
    std::shared_ptr<MemoryItem> item_;
    FolderPlace place_;
};

std::shared_ptr<mail::Message> MemoryAttachment::embeddedMessage() {
    if (!file_ || file_->kind != mail::AttachmentKind::EmbeddedMessage)
        throw Failure(-2147467259, "Microsoft Outlook", "The attachment holds no message.");
    failIfAsked(file_->failing, "Message");
    return std::make_shared<MemoryMessage>(file_->attachesHolder ? holder_ : file_->message,
                                           place_);
}

class MemoryItemObject : public Item {
  public:
    MemoryItemObject(std::shared_ptr<MemoryItem> item, FolderPlace place)
        : item_(std::move(item)), place_(std::move(place)) {}
    int Class() override { return read("Class", item_->itemClass); }
    int attachmentCount() override {
        return read("Attachments", static_cast<int>(item_->files.size()) + item_->attachments);
    }
    std::string SenderEmailAddress() override {
        return read("SenderEmailAddress", item_->senderEmailAddress);
    }
    std::string SenderEmailType() override {
        return read("SenderEmailType", item_->senderEmailType);
    }
    std::string SenderName() override { return read("SenderName", item_->senderName); }
    LocalDateTime ReceivedTime() override { return read("ReceivedTime", item_->receivedTime); }
    std::string Body() override { return read("Body", item_->body); }
    std::string Subject() override { return read("Subject", item_->subject); }
    std::string EntryID() override { return read("EntryID", item_->entryId); }
    void SaveAs(const std::string &path, int saveType) override {
        // Saved as the real store saves: whole or not at all.
        WriteFileSafely(path, SavedText(saveType));
    }
    std::string SavedText(int) override {
        failIfAsked(item_->failing, "SaveAs");
        return item_->render ? item_->render(*item_) : defaultRendering(*item_);
    }
    std::shared_ptr<mail::Message> message() override {
        return std::make_shared<MemoryMessage>(item_, place_);
    }

  private:
    template <typename T> T read(const std::string &property, const T &value) {
        failIfAsked(item_->failing, property);
        return value;
    }
    std::shared_ptr<MemoryItem> item_;
    FolderPlace place_;
};

class MemoryItems : public Items {
  public:
    MemoryItems(std::vector<std::shared_ptr<MemoryItem>> items, FolderPlace place)
        : items_(std::move(items)), place_(std::move(place)) {}
    int count() override { return static_cast<int>(items_.size()); }
    std::shared_ptr<Item> item(int index) override {
        if (index < 1 || index > count())
            throw Failure(-2147352567, "Microsoft Outlook", "Array index out of bounds.");
        return std::make_shared<MemoryItemObject>(items_[static_cast<std::size_t>(index - 1)],
                                                  place_);
    }

  private:
    std::vector<std::shared_ptr<MemoryItem>> items_;
    FolderPlace place_;
};

class MemoryFolderObject;

class MemoryFolders : public Folders {
  public:
    /// parent is the place of the folder that holds them; nothing for the namespace's roots.
    MemoryFolders(MemoryMailStoreLayer &layer, std::vector<std::shared_ptr<MemoryFolder>> folders,
                  std::vector<std::string> paths, bool failCount, std::optional<FolderPlace> parent)
        : layer_(layer), folders_(std::move(folders)), paths_(std::move(paths)),
          failCount_(failCount), parent_(std::move(parent)) {}
    int count() override {
        if (failCount_)
            throw Failure(-2147467259, "Microsoft Outlook", "The folder count is unknown.");
        return static_cast<int>(folders_.size());
    }
    std::shared_ptr<Folder> item(int index) override;
    std::shared_ptr<Folder> GetLast() override {
        if (folders_.empty())
            return nullptr;
        return item(static_cast<int>(folders_.size()));
    }

  private:
    MemoryMailStoreLayer &layer_;
    std::vector<std::shared_ptr<MemoryFolder>> folders_;
    std::vector<std::string> paths_;
    bool failCount_;
    std::optional<FolderPlace> parent_;
};

class MemoryFolderObject : public Folder {
  public:
    MemoryFolderObject(MemoryMailStoreLayer &layer, std::shared_ptr<MemoryFolder> folder,
                       std::string storePath, FolderPlace place)
        : layer_(layer), folder_(std::move(folder)), storePath_(std::move(storePath)),
          place_(std::move(place)) {}
    std::string name() override {
        failIfAsked(folder_->failing, "name");
        return folder_->name;
    }
    std::string defaultValue() override {
        failIfAsked(folder_->failing, "defaultValue");
        return folder_->name;
    }
    std::shared_ptr<Folders> folders() override {
        failIfAsked(folder_->failing, "Folders");
        return std::make_shared<MemoryFolders>(
            layer_, folder_->folders, std::vector<std::string>(folder_->folders.size(), storePath_),
            folder_->failing.count("Folders.count") > 0, place_);
    }
    std::shared_ptr<Items> items() override {
        failIfAsked(folder_->failing, "Items");
        if (layer_.onItemsRead)
            layer_.onItemsRead(*folder_);
        return std::make_shared<MemoryItems>(folder_->items, place_);
    }
    std::string storeFilePath() override { return storePath_; }
    const std::shared_ptr<MemoryFolder> &folder() const { return folder_; }

  private:
    MemoryMailStoreLayer &layer_;
    std::shared_ptr<MemoryFolder> folder_;
    std::string storePath_;
    FolderPlace place_;
};

std::shared_ptr<Folder> MemoryFolders::item(int index) {
    if (index < 1 || index > static_cast<int>(folders_.size()))
        throw Failure(-2147352567, "Microsoft Outlook", "Array index out of bounds.");
    const auto i = static_cast<std::size_t>(index - 1);
    FolderPlace place{folders_[i]->name, {}};
    if (parent_) {
        place = *parent_;
        place.path.push_back(folders_[i]->name);
    }
    return std::make_shared<MemoryFolderObject>(layer_, folders_[i], paths_[i], std::move(place));
}

class MemoryNamespace : public outlook::Namespace {
  public:
    explicit MemoryNamespace(MemoryMailStoreLayer &layer) : layer_(layer) {}
    std::shared_ptr<Folders> folders() override {
        std::vector<std::shared_ptr<MemoryFolder>> roots;
        std::vector<std::string> paths;
        for (const auto &store : layer_.profile) {
            roots.push_back(store->root);
            paths.push_back(store->filePath);
        }
        return std::make_shared<MemoryFolders>(layer_, roots, paths, false, std::nullopt);
    }
    void AddStore(const std::string &path) override {
        layer_.calls.push_back("AddStore " + path);
        const auto file = layer_.files.find(path);
        if (file == layer_.files.end())
            throw Failure(-2147467259, "Microsoft Outlook",
                          "The file " + path + " could not be found.");
        for (const auto &store : layer_.profile)
            if (store == file->second)
                return; // already part of the profile: nothing changes
        layer_.profile.push_back(file->second);
        if (std::find(layer_.opened.begin(), layer_.opened.end(), file->second) ==
            layer_.opened.end())
            layer_.opened.push_back(file->second);
    }
    void RemoveStore(Folder &root) override {
        auto &memoryRoot = dynamic_cast<MemoryFolderObject &>(root);
        layer_.calls.push_back("RemoveStore " + memoryRoot.folder()->name);
        std::erase_if(layer_.profile, [&](const std::shared_ptr<MemoryStore> &store) {
            return store->root == memoryRoot.folder();
        });
    }
    std::shared_ptr<Item> GetItemFromID(const std::string &entryId) override {
        layer_.calls.push_back("GetItemFromID " + entryId);
        auto item = layer_.find(entryId);
        if (!item)
            throw Failure(-2147221233, "Microsoft Outlook",
                          "The operation failed. An object could not be found.");
        // A message found by its EntryID is not reached through its folder.
        return std::make_shared<MemoryItemObject>(item, FolderPlace{});
    }

  private:
    MemoryMailStoreLayer &layer_;
};

class MemoryApplication : public outlook::Application {
  public:
    explicit MemoryApplication(MemoryMailStoreLayer &layer) : layer_(layer) {
        ++layer_.applicationsAlive;
    }
    ~MemoryApplication() override { --layer_.applicationsAlive; }
    std::string Version() override { return layer_.version; }
    std::shared_ptr<outlook::Namespace> GetNamespace(const std::string &type) override {
        if (type != "MAPI")
            throw Failure(-2147024809, "Microsoft Outlook", "The parameter is incorrect.");
        return std::make_shared<MemoryNamespace>(layer_);
    }

  private:
    MemoryMailStoreLayer &layer_;
};

std::shared_ptr<MemoryItem> findIn(const MemoryFolder &folder, const std::string &entryId) {
    for (const auto &item : folder.items)
        if (item->entryId == entryId)
            return item;
    for (const auto &child : folder.folders)
        if (auto found = findIn(*child, entryId))
            return found;
    return nullptr;
}

} // namespace

MemoryFolder &MemoryFolder::add(const std::string &folderName) {
    folders.push_back(std::make_shared<MemoryFolder>());
    folders.back()->name = folderName;
    return *folders.back();
}

MemoryItem &MemoryFolder::add(MemoryItem item) {
    items.push_back(std::make_shared<MemoryItem>(std::move(item)));
    return *items.back();
}

std::shared_ptr<outlook::Application> MemoryMailStoreLayer::createApplication() {
    if (unavailable)
        throw Failure(429, "Outlook", "ActiveX component can't create object");
    ++applicationsCreated;
    for (const auto &store : profile)
        assignEntryIds(*store->root);
    for (const auto &[path, store] : files)
        assignEntryIds(*store->root);
    return std::make_shared<MemoryApplication>(*this);
}

MemoryFolder &MemoryMailStoreLayer::addProfileStore(const std::string &rootName,
                                                    const std::string &filePath) {
    auto store = std::make_shared<MemoryStore>();
    store->filePath = filePath.empty() ? "/profile/" + rootName + ".pst" : filePath;
    store->root->name = rootName;
    profile.push_back(store);
    opened.push_back(store);
    return *store->root;
}

MemoryFolder &MemoryMailStoreLayer::addStoreFile(const std::string &filePath,
                                                 const std::string &rootName) {
    auto store = std::make_shared<MemoryStore>();
    store->filePath = filePath;
    store->root->name = rootName;
    files[filePath] = store;
    return *store->root;
}

std::shared_ptr<MemoryItem> MemoryMailStoreLayer::find(const std::string &entryId) {
    for (const auto &store : opened)
        if (auto item = findIn(*store->root, entryId))
            return item;
    return nullptr;
}

void MemoryMailStoreLayer::assignEntryIds(MemoryFolder &folder) {
    for (const auto &item : folder.items)
        if (item->entryId.empty())
            item->entryId = "00000000" + std::to_string(nextEntryId_++);
    for (const auto &child : folder.folders)
        assignEntryIds(*child);
}

} // namespace qb::test
