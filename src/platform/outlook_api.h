#pragma once

#include "platform/clock.h"

#include <memory>
#include <string>

// The message model lives in mail/, above this layer: the object model only hands it out.
namespace qb::mail {
class Message;
}

// The mail-store object model the Outlook road works with: an application, its "MAPI"
// namespace, folders, items. Collections are counted from 1. Every call that fails throws
// qb::Failure carrying the store's description of what went wrong.
namespace qb::outlook {

/// Item class of a mail message.
inline constexpr int olMail = 43;
/// Item classes of an appointment and of a contact.
inline constexpr int olAppointment = 26;
inline constexpr int olContact = 40;
/// Save type of SaveAs that writes plain text.
inline constexpr int olTXT = 0;

class Item {
  public:
    virtual ~Item() = default;
    virtual int Class() = 0;
    /// Count of the item's Attachments collection.
    virtual int attachmentCount() = 0;
    virtual std::string SenderEmailAddress() = 0;
    virtual std::string SenderEmailType() = 0;
    virtual std::string SenderName() = 0;
    /// Local date and time of delivery.
    virtual LocalDateTime ReceivedTime() = 0;
    virtual std::string Body() = 0;
    virtual std::string Subject() = 0;
    virtual std::string EntryID() = 0;
    /// Writes the item to path; save type olTXT renders it as plain text.
    virtual void SaveAs(const std::string &path, int saveType) = 0;
    /// The text SaveAs(path, saveType) writes, for callers that place it themselves.
    virtual std::string SavedText(int saveType) = 0;
    /// The whole message as the store keeps it, read part by part when asked for.
    virtual std::shared_ptr<mail::Message> message() = 0;
};

class Items {
  public:
    virtual ~Items() = default;
    virtual int count() = 0;
    virtual std::shared_ptr<Item> item(int index) = 0;
};

class Folder;

class Folders {
  public:
    virtual ~Folders() = default;
    virtual int count() = 0;
    virtual std::shared_ptr<Folder> item(int index) = 0;
    /// The last folder of the collection.
    virtual std::shared_ptr<Folder> GetLast() = 0;
    /// Path of the store file of folder `index`, learnt without reading the store where the
    /// layer can: telling stores apart by file must not fail on a store that cannot be read.
    virtual std::string storeFilePath(int index);
};

class Folder {
  public:
    virtual ~Folder() = default;
    virtual std::string name() = 0;
    /// The folder's default value, its name.
    virtual std::string defaultValue() = 0;
    virtual std::shared_ptr<Folders> folders() = 0;
    virtual std::shared_ptr<Items> items() = 0;
    /// Path of the file that holds the folder's store, as it was opened.
    virtual std::string storeFilePath() = 0;
};

inline std::string Folders::storeFilePath(int index) {
    return item(index)->storeFilePath();
}

class Namespace {
  public:
    virtual ~Namespace() = default;
    /// The store root folders of the profile.
    virtual std::shared_ptr<Folders> folders() = 0;
    /// Attaches a personal folders file; its root becomes the last top-level folder.
    virtual void AddStore(const std::string &path) = 0;
    /// Detaches the store whose root is the given folder.
    virtual void RemoveStore(Folder &root) = 0;
    virtual std::shared_ptr<Item> GetItemFromID(const std::string &entryId) = 0;
};

class Application {
  public:
    virtual ~Application() = default;
    /// Text whose leading number is the major version, such as "16.0".
    virtual std::string Version() = 0;
    virtual std::shared_ptr<Namespace> GetNamespace(const std::string &type) = 0;
};

/// Creates application objects, as creating "Outlook.Application" does.
class MailStoreLayer {
  public:
    virtual ~MailStoreLayer() = default;
    /// A new application object; throws Failure when none can be created.
    virtual std::shared_ptr<Application> createApplication() = 0;
};

} // namespace qb::outlook
