#include "pst/pff_attachment.h"

#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_message.h"
#include "pst/pff_properties.h"

#include <cstdio>

namespace qb {
namespace {

/// Attachment methods ([MS-OXCMSG] PidTagAttachMethod).
namespace attach_method {
constexpr std::uint32_t byValue = 1;
constexpr std::uint32_t byReference = 2;
constexpr std::uint32_t byReferenceResolve = 3;
constexpr std::uint32_t byReferenceOnly = 4;
constexpr std::uint32_t embeddedMessage = 5;
constexpr std::uint32_t oleStorage = 6;
constexpr std::uint32_t byWebReference = 7;
} // namespace attach_method

/// Reads the data of one attachment from where the stream stands, so that two streams of the
/// same attachment do not disturb each other.
class PffAttachmentStream : public mail::ByteStream {
  public:
    explicit PffAttachmentStream(std::shared_ptr<PffItemHandle> attachment)
        : attachment_(std::move(attachment)) {}

    std::size_t read(char *buffer, std::size_t size) override {
        PffError error;
        if (libpff_attachment_data_seek_offset(attachment_->get(), offset_, SEEK_SET,
                                               error.out()) != offset_)
            attachment_->raise(error, "cannot read the data");
        const ssize_t read = libpff_attachment_data_read_buffer(
            attachment_->get(), reinterpret_cast<std::uint8_t *>(buffer), size, error.out());
        if (read < 0)
            attachment_->raise(error, "cannot read the data");
        offset_ += read;
        return static_cast<std::size_t>(read);
    }

  private:
    std::shared_ptr<PffItemHandle> attachment_;
    off64_t offset_ = 0;
};

} // namespace

PffAttachment::PffAttachment(std::shared_ptr<PffItemHandle> attachment, int codepage)
    : attachment_(std::move(attachment)), codepage_(codepage) {}

std::optional<std::string> PffAttachment::text(std::uint32_t propertyType) {
    return ReadText(*attachment_, propertyType, codepage_);
}

mail::AttachmentKind PffAttachment::kind() {
    switch (ReadInteger(*attachment_, pff_property::attachMethod).value_or(0)) {
    case attach_method::byValue:
        return mail::AttachmentKind::ByValue;
    case attach_method::byReference:
    case attach_method::byReferenceResolve:
    case attach_method::byReferenceOnly:
    case attach_method::byWebReference:
        return mail::AttachmentKind::Reference;
    case attach_method::embeddedMessage:
        return mail::AttachmentKind::EmbeddedMessage;
    case attach_method::oleStorage:
        return mail::AttachmentKind::OleObject;
    default:
        break;
    }
    int type = LIBPFF_ATTACHMENT_TYPE_UNDEFINED;
    PffError error;
    if (libpff_attachment_get_type(attachment_->get(), &type, error.out()) != 1)
        attachment_->raise(error, "cannot read the kind");
    switch (type) {
    case LIBPFF_ATTACHMENT_TYPE_DATA:
        return mail::AttachmentKind::ByValue;
    case LIBPFF_ATTACHMENT_TYPE_ITEM:
        return mail::AttachmentKind::EmbeddedMessage;
    case LIBPFF_ATTACHMENT_TYPE_REFERENCE:
        return mail::AttachmentKind::Reference;
    default:
        throw PffFailure(attachment_->file().fileName() + ": the kind of " +
                         attachment_->description() + " is unknown");
    }
}

std::optional<std::string> PffAttachment::longFileName() {
    return text(pff_property::attachLongFilename);
}

std::optional<std::string> PffAttachment::shortFileName() {
    return text(pff_property::attachShortFilename);
}

std::optional<std::string> PffAttachment::displayName() {
    return text(pff_property::displayName);
}

std::optional<std::string> PffAttachment::mimeType() {
    return text(pff_property::attachMimeTag);
}

std::optional<std::string> PffAttachment::contentId() {
    return text(pff_property::attachContentId);
}

std::uint64_t PffAttachment::size() {
    // libpff gives the size of an embedded message's object, which is no data of the attachment.
    const auto kind = this->kind();
    if (kind == mail::AttachmentKind::EmbeddedMessage || kind == mail::AttachmentKind::Reference)
        return 0;
    size64_t size = 0;
    PffError error;
    const int found = libpff_attachment_get_data_size(attachment_->get(), &size, error.out());
    if (found == -1)
        attachment_->raise(error, "cannot read the size of the data");
    return found == 1 ? size : 0;
}

std::unique_ptr<mail::ByteStream> PffAttachment::openData() {
    const auto kind = this->kind();
    if (kind == mail::AttachmentKind::EmbeddedMessage || kind == mail::AttachmentKind::Reference)
        throw PffFailure(attachment_->file().fileName() + ": " + attachment_->description() +
                         " holds no data of its own");
    return std::make_unique<PffAttachmentStream>(attachment_);
}

std::shared_ptr<mail::Message> PffAttachment::embeddedMessage() {
    // A damaged file may hold a message inside itself; the depth ends what would never end.
    if (attachment_->nesting() + 1 > mail::maxNesting)
        throw PffFailure(attachment_->file().fileName() + ": " + attachment_->description() +
                         " lies deeper than " + std::to_string(mail::maxNesting) +
                         " embedded messages");
    PffItem item;
    PffError error;
    const int found = libpff_attachment_get_item(attachment_->get(), Receive(item), error.out());
    if (found == -1)
        attachment_->raise(error, "cannot read the embedded message");
    if (found == 0)
        throw PffFailure(attachment_->file().fileName() + ": " + attachment_->description() +
                         " holds no message");
    return std::make_shared<PffMessage>(std::make_shared<PffItemHandle>(
        attachment_->sharedFile(), std::move(item), PffItemKind::message, attachment_));
}

} // namespace qb
