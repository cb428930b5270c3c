#pragma once

#include "mail/mail_time.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The message model that the window and the command line both read: everything a mail store
// keeps of one message. Stores implement it and read each part when it is asked for, so a
// listing that shows a few header fields never reads a body or an attachment.
namespace qb::mail {

class Message;

/// Which line of the envelope a recipient stands on.
enum class RecipientKind { To, Cc, Bcc, Unknown };

/// One row of a message's recipient table.
struct Recipient {
    RecipientKind kind = RecipientKind::Unknown;
    std::string name;
    /// The address as the store keeps it: an internet address, or a directory name for "EX".
    std::string address;
    /// "SMTP", "EX", ...; empty when the store names none.
    std::string addressType;
    /// The internet address the store keeps beside an address of another type, when it has one.
    std::optional<std::string> smtpAddress;
    friend bool operator==(const Recipient &, const Recipient &) = default;
};

/// An HTML body as it is stored: its bytes and the Windows code page they are written in (the
/// message's internet code page, else its own, else the store's).
struct HtmlBody {
    std::string bytes;
    int codepage = 0;
};

/// What an attachment holds.
enum class AttachmentKind {
    /// A file's bytes.
    ByValue,
    /// A whole message, readable as a Message.
    EmbeddedMessage,
    /// An OLE object's storage, read as its bytes.
    OleObject,
    /// Only a name or link to a file kept elsewhere.
    Reference,
};

/// Bytes read a piece at a time, so that a large attachment is never held whole.
class ByteStream {
  public:
    virtual ~ByteStream() = default;
    /// Copies up to size bytes into buffer and returns how many; 0 once the end is reached.
    /// Throws Failure when the store cannot read them.
    virtual std::size_t read(char *buffer, std::size_t size) = 0;
};

/// One attachment of a message. Every part is read when asked for; a part that cannot be read
/// throws Failure, a part the store does not keep is nothing.
class Attachment {
  public:
    virtual ~Attachment() = default;
    virtual AttachmentKind kind() = 0;
    virtual std::optional<std::string> longFileName() = 0;
    /// The 8.3 file name.
    virtual std::optional<std::string> shortFileName() = 0;
    /// The name the message shows for it, which may differ from both file names.
    virtual std::optional<std::string> displayName() = 0;
    virtual std::optional<std::string> mimeType() = 0;
    /// The Content-ID by which an HTML body refers to it.
    virtual std::optional<std::string> contentId() = 0;
    /// Size of its data in bytes; 0 for an attachment that holds no data of its own.
    virtual std::uint64_t size() = 0;
    /// Its data from the first byte; each stream reads on its own. Throws Failure when the
    /// attachment holds no data (a reference, an embedded message) or it cannot be read.
    virtual std::unique_ptr<ByteStream> openData() = 0;
    /// The message it holds. Throws Failure for another kind, when the message cannot be read, and
    /// when messages are nested deeper than maxNesting, which a damaged store could make endless.
    virtual std::shared_ptr<Message> embeddedMessage() = 0;
};

/// How deep embedded messages may be nested inside one another.
inline constexpr int maxNesting = 16;

/// One message of a mail store. Every part is read from the store when asked for. A part that
/// cannot be read throws Failure naming the store and the message; a part that the store does
/// not keep is nothing (or empty text for names and subjects), never a made-up value.
class Message {
  public:
    virtual ~Message() = default;

    /// The display name of the store the message lies in.
    virtual std::string storeName() = 0;
    /// The names of the folders from the store's top of personal folders down to the folder that
    /// holds the message (an embedded message: the folder of the message holding it). Throws
    /// Failure when a name cannot be read or the message was not reached through its folder.
    virtual std::vector<std::string> folderPath() = 0;

    /// The text that finds the message again in the store that gave it.
    virtual std::string entryId() = 0;
    /// "IPM.Note", "IPM.Appointment", "REPORT.IPM.Note.NDR", ...
    virtual std::string messageClass() = 0;
    /// Whether it was read; nothing when the store does not say.
    virtual std::optional<bool> isRead() = 0;

    virtual std::optional<Instant> deliveryTime() = 0;
    virtual std::optional<Instant> submitTime() = 0;
    virtual std::optional<Instant> creationTime() = 0;

    virtual std::string senderName() = 0;
    /// The sender's address as the store keeps it, of the type senderAddressType names.
    virtual std::string senderAddress() = 0;
    /// "SMTP", "EX", ...
    virtual std::string senderAddressType() = 0;
    /// The sender's internet address kept beside an address of another type.
    virtual std::optional<std::string> senderSmtpAddress() = 0;
    /// The recipient table, in the store's order.
    virtual std::vector<Recipient> recipients() = 0;
    /// The To and Cc lines as the store shows them: names joined by "; ".
    virtual std::string displayTo() = 0;
    virtual std::string displayCc() = 0;

    virtual std::string subject() = 0;
    /// The plain-text body as UTF-8.
    virtual std::optional<std::string> plainBody() = 0;
    virtual std::optional<HtmlBody> htmlBody() = 0;
    /// The RTF body, decompressed.
    virtual std::optional<std::string> rtfBody() = 0;

    virtual int attachmentCount() = 0;
    /// Attachment index, from 1 to attachmentCount(); throws Failure for another index.
    virtual std::unique_ptr<Attachment> attachment(int index) = 0;

    /// The header block the message arrived with, as the transport wrote it.
    virtual std::optional<std::string> transportHeaders() = 0;
    virtual std::optional<std::string> messageId() = 0;
    virtual std::optional<std::string> inReplyTo() = 0;
    virtual std::optional<std::string> references() = 0;
};

} // namespace qb::mail
