#include "pst/pff_recipients.h"

#include "pst/pff_error.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_properties.h"

namespace qb {
namespace {

/// The recipient type without the flag that marks a recipient to send to again.
constexpr std::uint32_t recipientTypeMask = 0x0FFFFFFF;

mail::RecipientKind KindOf(std::optional<std::uint32_t> type) {
    switch (type.value_or(0) & recipientTypeMask) {
    case 1:
        return mail::RecipientKind::To;
    case 2:
        return mail::RecipientKind::Cc;
    case 3:
        return mail::RecipientKind::Bcc;
    default:
        return mail::RecipientKind::Unknown;
    }
}

} // namespace

std::vector<mail::Recipient> ReadRecipients(const std::shared_ptr<PffItemHandle> &message,
                                            int codepage) {
    PffItem table;
    PffError error;
    const int found = libpff_message_get_recipients(message->get(), Receive(table), error.out());
    if (found == -1)
        message->raise(error, "cannot read the recipients");
    if (found == 0)
        return {};
    PffItemHandle recipients(message->sharedFile(), std::move(table), PffItemKind::recipients,
                             message);
    std::vector<mail::Recipient> rows;
    const int count = recipients.recordSetCount();
    for (int row = 0; row < count; ++row) {
        const auto text = [&](std::uint32_t propertyType) {
            return ReadText(recipients, propertyType, codepage, row);
        };
        mail::Recipient recipient;
        recipient.kind = KindOf(ReadInteger(recipients, pff_property::recipientType, row));
        recipient.name = text(pff_property::displayName).value_or("");
        recipient.address = text(pff_property::emailAddress).value_or("");
        recipient.addressType = text(pff_property::addressType).value_or("");
        // A table has a cell for every column; a row without an SMTP address reads as empty.
        recipient.smtpAddress = text(pff_property::smtpAddress);
        if (recipient.smtpAddress && recipient.smtpAddress->empty())
            recipient.smtpAddress.reset();
        rows.push_back(std::move(recipient));
    }
    return rows;
}

} // namespace qb
