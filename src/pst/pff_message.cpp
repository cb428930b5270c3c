#include "pst/pff_message.h"

#include "mail/message_rendering.h"
#include "platform/linux/posix_file_system.h"
#include "pst/pff_children.h"
#include "pst/pff_compressed_rtf.h"
#include "pst/pff_entry_id.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_item_class.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_properties.h"
#include "pst/pff_time.h"
#include "text/html_to_text.h"
#include "text/rtf_text.h"

#include <strings.h>

namespace qb {
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

std::string PffMessage::text(std::uint32_t propertyType) {
    return ReadText(*message_, propertyType, stringCodepage()).value_or("");
}

std::string PffMessage::bodyText(std::uint32_t propertyType) {
    return WithoutTrailingNuls(ReadText(*message_, propertyType, bodyCodepage()).value_or(""));
}

int PffMessage::Class() {
    return ItemClassOf(text(pff_property::messageClass));
}

int PffMessage::attachmentCount() {
    return PffChildren(message_, pffAttachments).count();
}

std::string PffMessage::SenderEmailAddress() {
    return text(pff_property::senderEmailAddress);
}

std::string PffMessage::SenderEmailType() {
    return text(pff_property::senderAddressType);
}

std::string PffMessage::SenderName() {
    return text(pff_property::senderName);
}

std::optional<std::uint64_t>
PffMessage::firstTime(std::initializer_list<std::uint32_t> propertyTypes) {
    for (std::uint32_t type : propertyTypes)
        if (auto time = ReadFiletime(*message_, type))
            return time;
    return std::nullopt;
}

LocalDateTime PffMessage::ReceivedTime() {
    const auto time = firstTime(
        {pff_property::deliveryTime, pff_property::clientSubmitTime, pff_property::creationTime});
    return time ? FiletimeToLocal(*time) : LocalDateTime{};
}

std::string PffMessage::Body() {
    std::string plain = bodyText(pff_property::plainTextBody);
    if (!plain.empty())
        return plain;
    std::string html = bodyText(pff_property::htmlBody);
    if (!html.empty())
        return HtmlToText(html);
    return RtfToText(ReadRtfBody(*message_));
}

std::string PffMessage::Subject() {
    return WithoutSubjectMarker(text(pff_property::subject));
}

std::string PffMessage::EntryID() {
    return FormatEntryId({message_->file().storeNumber(), message_->identifier()});
}

std::string PffMessage::smtpSenderAddress() {
    if (strcasecmp(SenderEmailType().c_str(), "SMTP") == 0)
        return SenderEmailAddress();
    // Exchange senders may carry their internet address beside the directory one.
    return text(pff_property::senderSmtpAddress);
}

std::string PffMessage::sentText() {
    const auto time = firstTime(
        {pff_property::clientSubmitTime, pff_property::deliveryTime, pff_property::creationTime});
    return time ? FormatLongDateTime(FiletimeToLocal(*time)) : std::string();
}

std::vector<std::string> PffMessage::attachmentNames() {
    std::vector<std::string> names;
    PffChildren attachments(message_, pffAttachments);
    const int count = attachments.count();
    for (int index = 1; index <= count; ++index) {
        const auto attachment = attachments.item(index);
        std::string name;
        for (std::uint32_t type : {pff_property::attachLongFilename,
                                   pff_property::attachShortFilename, pff_property::displayName})
            if (name.empty())
                name = ReadText(*attachment, type, stringCodepage()).value_or("");
        names.push_back(name.empty() ? "Attachment " + std::to_string(index) : name);
    }
    return names;
}

void PffMessage::SaveAs(const std::string &path, int saveType) {
    // A save that fails part-way must leave nothing that looks like a saved message.
    WriteFileSafely(path, SavedText(saveType));
}

std::string PffMessage::SavedText(int saveType) {
    if (saveType != outlook::olTXT)
        throw PffFailure("Save type " + std::to_string(saveType) +
                             " is not supported: only plain text (0) can be written.",
                         pff_failure::invalidArgument);
    MessageText message;
    message.from = FormatSender(SenderName(), smtpSenderAddress());
    message.sent = sentText();
    message.to = text(pff_property::displayTo);
    message.cc = text(pff_property::displayCc);
    message.subject = Subject();
    message.attachments = attachmentNames();
    message.body = Body();
    return RenderMessageText(message);
}

} // namespace qb
