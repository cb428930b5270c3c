#pragma once

#include "platform/clock.h"
#include "platform/text_locale.h"

#include <cstdint>

#include <string>

namespace qb::outlook {

/// The Date cell of a message row: the short date, a blank and the long time; the time is left
/// out when it is exactly midnight, and the whole text is empty for a message without any time
/// (the default LocalDateTime).
std::string ReceivedTimeText(TextLocale &locale, const LocalDateTime &receivedTime);

/// The Attachments cell: "Yes (n)" for n > 0 attachments, else "No".
std::string AttachmentsText(int attachmentCount);

/// The major version from an application's version text: the digits before the first point.
/// Throws Failure when the text does not begin with a number that fits 16 bits.
std::int16_t MajorVersion(const std::string &versionText);

} // namespace qb::outlook
