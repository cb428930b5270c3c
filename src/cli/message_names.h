#pragma once

#include "platform/clock.h"

#include <string>

// Names of the message files, which must be the same on every run over the same stores.
namespace qb::cli {

/// The time that names a message that has none: the zero of Outlook's dates, 12-30-1899 at
/// midnight, the value the mail-store layer gives for a missing time.
inline constexpr LocalDateTime missingTime{};

/// The name of a message file without its ending: the window's time stamp
/// "mm-dd-yyyy hh nn ss AMPM" (always with AM and PM, whatever the locale, so that names do not
/// change with it), one blank and the subject, cleaned by the window's Outlook rule and without
/// NUL bytes.
std::string MessageStem(const LocalDateTime &time, const std::string &subject);

/// The local time of an RFC 5322 date text ("Tue, 1 Jul 2003 10:52:37 +0200"), or missingTime
/// when the text is no such date.
LocalDateTime MailDateTime(const std::string &dateText);

} // namespace qb::cli
