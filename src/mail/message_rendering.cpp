#include "mail/message_rendering.h"

#include "mail/message_reading.h"
#include "text/plain_text.h"

namespace qb::mail {
namespace {

std::string HeaderLine(const std::string &name, const std::string &value) {
    // A header value stays on its one line.
    std::string line = value;
    for (char &c : line)
        if (c == '\r' || c == '\n')
            c = ' ';
    return name + ":\t" + line + "\r\n";
}

std::string JoinNames(const std::vector<std::string> &names) {
    std::string joined;
    for (const std::string &name : names)
        joined += (joined.empty() ? "" : "; ") + name;
    return joined;
}

} // namespace

std::string FormatSender(const std::string &name, const std::string &address) {
    if (address.empty())
        return name;
    if (name.empty() || name == address)
        return address;
    return name + " <" + address + ">";
}

std::string RenderMessageText(const MessageText &message) {
    std::string text = HeaderLine("From", message.from) + HeaderLine("Sent", message.sent) +
                       HeaderLine("To", message.to) + HeaderLine("Cc", message.cc) +
                       HeaderLine("Subject", message.subject);
    if (!message.attachments.empty())
        text += HeaderLine("Attachments", JoinNames(message.attachments));
    text += "\r\n" + WithCrLf(message.body);
    // Gathered into one file, a text without a final line end would run the next message's
    // "From:" onto its last line.
    if (!text.ends_with("\r\n"))
        text += "\r\n";
    return text;
}

std::string RenderedText(Message &message) {
    MessageText text;
    const std::string senderName = message.senderName();
    text.from = FormatSender(senderName, SmtpSenderAddress(message));
    const auto sent = SentTime(message);
    text.sent = sent ? FormatLongDateTime(*sent) : std::string();
    text.to = message.displayTo();
    text.cc = message.displayCc();
    text.subject = message.subject();
    text.attachments = AttachmentNames(message);
    text.body = BodyText(message);
    return RenderMessageText(text);
}

} // namespace qb::mail
