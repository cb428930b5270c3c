#pragma once

#include "mail/message.h"

#include <string>
#include <vector>

// The plain-text rendering of a message that the window's download and the command line write.
namespace qb::mail {

/// What the plain-text rendering of a message shows, already as UTF-8.
struct MessageText {
    std::string from;
    std::string sent;
    std::string to;
    std::string cc;
    std::string subject;
    std::vector<std::string> attachments;
    std::string body;
};

/// The message as plain text: the header lines From, Sent, To, Cc, Subject and (only when there
/// are attachments) Attachments, each "Name:" TAB value, an empty line, then the body. Every
/// line ends with CR LF, the body's own line ends included.
std::string RenderMessageText(const MessageText &message);

/// The "From" value: the name, with " <address>" when an address is known; the address alone
/// when there is no name.
std::string FormatSender(const std::string &name, const std::string &address);

/// The plain-text rendering of a message read from its store: From is the sender's name and
/// internet address, Sent the long form of SentTime, To and Cc the store's display lines, then
/// the subject, the attachment names and BodyText. Throws the Failure of the first part that
/// cannot be read.
std::string RenderedText(Message &message);

} // namespace qb::mail
