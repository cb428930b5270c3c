#include "pst/pff_message.h"

#include "mail/message_reading.h"
#include "pst/pff_attachment.h"
#include "pst/pff_children.h"
#include "pst/pff_compressed_rtf.h"
#include "pst/pff_entry_id.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_properties.h"
#include "pst/pff_recipients.h"
#include "pst/pff_time.h"

namespace qb {
namespace {

/// The flag of the message flags that marks a message as read.
constexpr std::uint32_t readFlag = 0x0001;

} // namespace

std::string WithoutSubjectMarker(std::string subject) {
    if (subject.size() >= 2 && subject[0] == '\x01')
        subject.erase(0, 2);
    return subject;
}

PffMessage::PffMessage(std::shared_ptr<PffItemHandle> message) : message_(std::move(message)) {}

int PffMessage::stringCodepage() {
    // 8-bit strings follow the message's code page; the internet code page comes next.
    if (!stringCodepage_)
        stringCodepage_ = static_cast<int>(
            ReadInteger(*message_, pff_property::messageCodepage)
                .value_or(
                    ReadInteger(*message_, pff_property::internetCodepage)
                        .value_or(static_cast<std::uint32_t>(message_->file().asciiCodepage()))));
    return *stringCodepage_;
}

int PffMessage::bodyCodepage() {
    // The body was written in the internet code page when the message came from the internet.
    if (!bodyCodepage_)
        bodyCodepage_ =
            static_cast<int>(ReadInteger(*message_, pff_property::internetCodepage)
                                 .value_or(static_cast<std::uint32_t>(stringCodepage())));
    return *bodyCodepage_;
}

std::optional<std::string> PffMessage::optionalText(std::uint32_t propertyType) {
    return ReadText(*message_, propertyType, stringCodepage());
}

std::string PffMessage::text(std::uint32_t propertyType) {
    return optionalText(propertyType).value_or("");
}

std::optional<mail::Instant> PffMessage::time(std::uint32_t propertyType) {
    const auto filetime = ReadFiletime(*message_, propertyType);
    if (!filetime)
        return std::nullopt;
    return FiletimeInstant(*filetime);
}

std::string PffMessage::storeName() {
    return message_->file().displayName();
}

std::vector<std::string> PffMessage::folderPath() {
    return message_->folderNames();
}

std::string PffMessage::entryId() {
    if (message_->nesting() > 0)
        throw PffFailure(message_->file().fileName() + ": " + message_->description() +
                         " is embedded in another message and has no EntryID of its own");
    return FormatEntryId({message_->file().storeNumber(), message_->identifier()});
}

std::string PffMessage::messageClass() {
    return text(pff_property::messageClass);
}

std::optional<bool> PffMessage::isRead() {
    const auto flags = ReadInteger(*message_, pff_property::messageFlags);
    if (!flags)
        return std::nullopt;
    return (*flags & readFlag) != 0;
}

std::optional<mail::Instant> PffMessage::deliveryTime() {
    return time(pff_property::deliveryTime);
}

std::optional<mail::Instant> PffMessage::submitTime() {
    return time(pff_property::clientSubmitTime);
}

std::optional<mail::Instant> PffMessage::creationTime() {
    return time(pff_property::creationTime);
}

std::string PffMessage::senderName() {
    return text(pff_property::senderName);
}

std::string PffMessage::senderAddress() {
    return text(pff_property::senderEmailAddress);
}

std::string PffMessage::senderAddressType() {
    return text(pff_property::senderAddressType);
}

std::optional<std::string> PffMessage::senderSmtpAddress() {
    return optionalText(pff_property::senderSmtpAddress);
}

std::vector<mail::Recipient> PffMessage::recipients() {
    return ReadRecipients(message_, stringCodepage());
}

std::string PffMessage::displayTo() {
    return text(pff_property::displayTo);
}

std::string PffMessage::displayCc() {
    return text(pff_property::displayCc);
}

std::string PffMessage::subject() {
    return WithoutSubjectMarker(text(pff_property::subject));
}

std::optional<std::string> PffMessage::plainBody() {
    auto body = ReadText(*message_, pff_property::plainTextBody, bodyCodepage());
    if (!body)
        return std::nullopt;
    return mail::WithoutTrailingNuls(std::move(*body));
}

std::optional<mail::HtmlBody> PffMessage::htmlBody() {
    auto body = ReadEncodedText(*message_, pff_property::htmlBody, bodyCodepage());
    if (!body)
        return std::nullopt;
    return mail::HtmlBody{std::move(body->bytes), body->codepage};
}

std::optional<std::string> PffMessage::rtfBody() {
    return ReadRtfBody(*message_);
}

int PffMessage::attachmentCount() {
    return PffChildren(message_, pffAttachments).count();
}

std::unique_ptr<mail::Attachment> PffMessage::attachment(int index) {
    auto attachment = PffChildren(message_, pffAttachments).item(index);
    return std::make_unique<PffAttachment>(std::move(attachment), stringCodepage());
}

std::optional<std::string> PffMessage::transportHeaders() {
    return optionalText(pff_property::transportMessageHeaders);
}

std::optional<std::string> PffMessage::messageId() {
    return optionalText(pff_property::internetMessageId);
}

std::optional<std::string> PffMessage::inReplyTo() {
    return optionalText(pff_property::inReplyToId);
}

std::optional<std::string> PffMessage::references() {
    return optionalText(pff_property::internetReferences);
}

} // namespace qb
