#pragma once

#include <string>
#include <vector>

namespace qb {

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

} // namespace qb
