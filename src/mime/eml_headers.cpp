#include "mime/eml_headers.h"

#include "mime/header_block.h"
#include "text/plain_text.h"

#include <algorithm>
#include <set>

namespace qb::mime {
namespace {

constexpr const char *utf8 = "UTF-8";

/// The text on one line: a stored name or subject that holds line ends would end the field.
std::string OneLine(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return Trimmed(text, " \t");
}

/// The internet address of a sender or recipient: the address itself when its type is SMTP,
/// else the SMTP address kept beside it, else the address when it has the form of one; empty
/// for a directory name without an SMTP address beside it.
std::string InternetAddressOf(const std::string &type, const std::string &address,
                              const std::optional<std::string> &smtpAddress) {
    if (EqualIgnoringCase(type, "SMTP"))
        return OneLine(address);
    if (smtpAddress && !smtpAddress->empty())
        return OneLine(*smtpAddress);
    return address.find('@') != std::string::npos && address.front() != '/' ? OneLine(address)
                                                                            : std::string();
}

void AddAddress(InternetAddressList *list, const std::string &name, const std::string &address) {
    if (name.empty() && address.empty())
        return;
    InternetAddress *added =
        address.empty() ? internet_address_group_new(OneLine(name).c_str())
                        : internet_address_mailbox_new(OneLine(name).c_str(), address.c_str());
    internet_address_set_charset(added, utf8);
    internet_address_list_add(list, added);
    g_object_unref(added);
}

void AddSender(mail::Message &message, GMimeMessage *target, PartReader &reader) {
    const auto name = reader.read("sender", [&] { return message.senderName(); });
    const auto address = reader.read("sender address", [&] {
        const std::string type = message.senderAddressType();
        const std::string stored = message.senderAddress();
        return InternetAddressOf(type, stored,
                                 EqualIgnoringCase(type, "SMTP") ? std::nullopt
                                                                 : message.senderSmtpAddress());
    });
    AddAddress(g_mime_message_get_from(target), name.value_or(""), address.value_or(""));
}

GMimeAddressType AddressTypeOf(mail::RecipientKind kind) {
    switch (kind) {
    case mail::RecipientKind::Cc:
        return GMIME_ADDRESS_TYPE_CC;
    case mail::RecipientKind::Bcc:
        return GMIME_ADDRESS_TYPE_BCC;
    default:
        return GMIME_ADDRESS_TYPE_TO;
    }
}

using RecipientKinds = std::set<mail::RecipientKind>;

void AddRecipients(mail::Message &message, GMimeMessage *target, PartReader &reader,
                   const RecipientKinds &kinds) {
    if (kinds.empty())
        return;
    const auto recipients = reader.read("recipient table", [&] { return message.recipients(); });
    if (!recipients)
        return;
    for (const mail::Recipient &recipient : *recipients) {
        // The table's other rows (the originator, a resend) are no recipients.
        if (kinds.count(recipient.kind) == 0)
            continue;
        AddAddress(
            g_mime_message_get_addresses(target, AddressTypeOf(recipient.kind)), recipient.name,
            InternetAddressOf(recipient.addressType, recipient.address, recipient.smtpAddress));
    }
}

void AddSubject(mail::Message &message, GMimeMessage *target, PartReader &reader) {
    const auto subject = reader.read("subject", [&] { return OneLine(message.subject()); });
    if (subject && !subject->empty())
        g_mime_message_set_subject(target, subject->c_str(), utf8);
}

/// The Date field: the time the message was sent, else the time it was delivered, in UTC.
void AddDate(mail::Message &message, GMimeMessage *target, PartReader &reader) {
    auto time = reader.read("time sent", [&] { return message.submitTime(); });
    if (!time)
        time = reader.read("time delivered", [&] { return message.deliveryTime(); });
    if (!time)
        return;
    GDateTime *date = g_date_time_new_from_unix_utc(time->time_since_epoch().count());
    if (date == nullptr)
        return reader.problem("date", "the stored time lies outside the years 1 to 9999");
    g_mime_message_set_date(target, date);
    g_date_time_unref(date);
}

using TextRead = std::optional<std::string> (mail::Message::*)();

void AddStoredField(mail::Message &message, GMimeMessage *target, PartReader &reader,
                    const char *name, TextRead read) {
    const auto value = reader.read(name, [&] { return (message.*read)(); });
    if (value && !OneLine(*value).empty())
        g_mime_object_append_header(GMIME_OBJECT(target), name, OneLine(*value).c_str(), nullptr);
}

void AddBuiltFields(mail::Message &message, GMimeMessage *target, PartReader &reader) {
    AddSender(message, target, reader);
    AddRecipients(message, target, reader,
                  {mail::RecipientKind::To, mail::RecipientKind::Cc, mail::RecipientKind::Bcc});
    AddSubject(message, target, reader);
    AddDate(message, target, reader);
    AddStoredField(message, target, reader, "Message-ID", &mail::Message::messageId);
    AddStoredField(message, target, reader, "In-Reply-To", &mail::Message::inReplyTo);
    AddStoredField(message, target, reader, "References", &mail::Message::references);
}

/// Appends a field with its value exactly as it was written.
void AppendRawField(GMimeMessage *target, const HeaderField &field) {
    GMimeObject *object = GMIME_OBJECT(target);
    g_mime_object_append_header(object, field.name.c_str(), "", nullptr);
    GMimeHeaderList *headers = g_mime_object_get_header_list(object);
    GMimeHeader *appended =
        g_mime_header_list_get_header_at(headers, g_mime_header_list_get_count(headers) - 1);
    g_mime_header_set_raw_value(appended, field.rawValue.c_str());
}

bool HasField(const HeaderBlock &block, std::string_view name) {
    return std::any_of(block.fields.begin(), block.fields.end(), [&](const HeaderField &field) {
        return EqualIgnoringCase(field.name, name);
    });
}

} // namespace

void SetHeaderFields(mail::Message &message, GMimeMessage *target, PartReader &reader) {
    const auto stored =
        reader.read("transport headers", [&] { return message.transportHeaders(); });
    const HeaderBlock block = ReadHeaderBlock(stored.value_or(""));
    if (block.fields.empty())
        return AddBuiltFields(message, target, reader);
    if (block.strayLines > 0)
        reader.problem("transport headers", std::to_string(block.strayLines) +
                                                " lines that are no header fields are left out");
    for (const HeaderField &field : block.fields)
        if (!DescribesMimeStructure(field.name))
            AppendRawField(target, field);
    // A block cut short is completed from the store; the blind copies stay blind.
    if (!HasField(block, "From"))
        AddSender(message, target, reader);
    RecipientKinds missing;
    if (!HasField(block, "To"))
        missing.insert(mail::RecipientKind::To);
    if (!HasField(block, "Cc"))
        missing.insert(mail::RecipientKind::Cc);
    AddRecipients(message, target, reader, missing);
    if (!HasField(block, "Subject"))
        AddSubject(message, target, reader);
    if (!HasField(block, "Date"))
        AddDate(message, target, reader);
    if (!HasField(block, "Message-ID"))
        AddStoredField(message, target, reader, "Message-ID", &mail::Message::messageId);
}

} // namespace qb::mime
