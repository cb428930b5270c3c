#include "mail/message_reading.h"

#include "text/codepage.h"
#include "text/html_to_text.h"
#include "text/plain_text.h"
#include "text/rtf_text.h"

namespace qb::mail {
namespace {

using TimeRead = std::optional<Instant> (Message::*)();

/// The first of the times that the message keeps, read in the given order.
std::optional<Instant> FirstTime(Message &message, std::initializer_list<TimeRead> reads) {
    for (const TimeRead read : reads)
        if (const auto time = (message.*read)())
            return time;
    return std::nullopt;
}

} // namespace

std::string WithoutTrailingNuls(std::string text) {
    text.resize(text.find_last_not_of('\0') + 1); // npos + 1 leaves nothing of all-NUL text
    return text;
}

LocalDateTime ReceivedTime(Message &message) {
    const auto time =
        FirstTime(message, {&Message::deliveryTime, &Message::submitTime, &Message::creationTime});
    return time ? LocalTime(*time) : LocalDateTime{};
}

std::optional<LocalDateTime> SentTime(Message &message) {
    const auto time =
        FirstTime(message, {&Message::submitTime, &Message::deliveryTime, &Message::creationTime});
    if (!time)
        return std::nullopt;
    return LocalTime(*time);
}

std::string SmtpSenderAddress(Message &message) {
    if (EqualIgnoringCase(message.senderAddressType(), "SMTP"))
        return message.senderAddress();
    // Exchange senders may carry their internet address beside the directory one.
    return message.senderSmtpAddress().value_or("");
}

std::string HtmlText(const HtmlBody &body) {
    return WithoutTrailingNuls(CodepageToUtf8(body.bytes, body.codepage));
}

std::string BodyText(Message &message) {
    if (auto plain = message.plainBody(); plain && !plain->empty())
        return std::move(*plain);
    if (const auto html = message.htmlBody())
        if (const std::string text = HtmlText(*html); !text.empty())
            return HtmlToText(text);
    return RtfToText(message.rtfBody().value_or(""));
}

std::vector<std::string> AttachmentNames(Message &message) {
    std::vector<std::string> names;
    const int count = message.attachmentCount();
    for (int index = 1; index <= count; ++index) {
        const auto attachment = message.attachment(index);
        std::string name = attachment->longFileName().value_or("");
        if (name.empty())
            name = attachment->shortFileName().value_or("");
        if (name.empty())
            name = attachment->displayName().value_or("");
        names.push_back(name.empty() ? "Attachment " + std::to_string(index) : name);
    }
    return names;
}

} // namespace qb::mail
