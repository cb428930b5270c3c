#pragma once

#include "mail/message.h"
#include "platform/clock.h"

#include <string>
#include <vector>

// What both front ends make of a message's parts. Each reads only the parts it needs, in the
// order written here, so a part that is not needed is never read and the failure met first is
// always the same one.
namespace qb::mail {

/// The local time the windows show as the message's date: the delivery time, else the submit
/// time, else the creation time; the default LocalDateTime for a message without any.
LocalDateTime ReceivedTime(Message &message);

/// The local time the text rendering shows on its "Sent" line: the submit time, else the
/// delivery time, else the creation time; nothing for a message without any.
std::optional<LocalDateTime> SentTime(Message &message);

/// The sender's internet address: the address itself when its type is "SMTP" (any letter case),
/// else the internet address kept beside it, else empty.
std::string SmtpSenderAddress(Message &message);

/// The body as plain text: the plain-text body when it is not empty, else the HTML body turned
/// into text when that is not empty, else the RTF body turned into text.
std::string BodyText(Message &message);

/// The text without the NULs that pad it at its end, as stores keep some bodies.
std::string WithoutTrailingNuls(std::string text);

/// The HTML body's text as UTF-8 without the NULs that pad its end.
std::string HtmlText(const HtmlBody &body);

/// The name of each attachment: its long file name, else its short one, else its display name,
/// else "Attachment n".
std::vector<std::string> AttachmentNames(Message &message);

} // namespace qb::mail
