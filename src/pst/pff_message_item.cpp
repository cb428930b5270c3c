#include "pst/pff_message_item.h"

#include "mail/item_class.h"
#include "mail/message_reading.h"
#include "mail/message_rendering.h"
#include "platform/linux/posix_file_system.h"
#include "pst/pff_error.h"
#include "pst/pff_message.h"

namespace qb {

PffMessageItem::PffMessageItem(std::shared_ptr<PffMessage> message)
    : message_(std::move(message)) {}

int PffMessageItem::Class() {
    return mail::ItemClassOf(message_->messageClass());
}

int PffMessageItem::attachmentCount() {
    return message_->attachmentCount();
}

std::string PffMessageItem::SenderEmailAddress() {
    return message_->senderAddress();
}

std::string PffMessageItem::SenderEmailType() {
    return message_->senderAddressType();
}

std::string PffMessageItem::SenderName() {
    return message_->senderName();
}

LocalDateTime PffMessageItem::ReceivedTime() {
    return mail::ReceivedTime(*message_);
}

std::string PffMessageItem::Body() {
    return mail::BodyText(*message_);
}

std::string PffMessageItem::Subject() {
    return message_->subject();
}

std::string PffMessageItem::EntryID() {
    return message_->entryId();
}

void PffMessageItem::SaveAs(const std::string &path, int saveType) {
    // A save that fails part-way must leave nothing that looks like a saved message.
    WriteFileSafely(path, SavedText(saveType));
}

std::string PffMessageItem::SavedText(int saveType) {
    if (saveType != outlook::olTXT)
        throw PffFailure("Save type " + std::to_string(saveType) +
                             " is not supported: only plain text (0) can be written.",
                         pff_failure::invalidArgument);
    return mail::RenderedText(*message_);
}

std::shared_ptr<mail::Message> PffMessageItem::message() {
    return message_;
}

} // namespace qb
