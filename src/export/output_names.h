#pragma once

#include "platform/clock.h"
#include "platform/text_locale.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// Names and layouts of the files the downloads write.
namespace qb::exporting {

/// Name of the Outlook combined file.
inline constexpr const char *combinedFileName = "AllEmails.txt";

/// One replacement of a file-name rule: every `from` character becomes `to` (empty: removed).
struct NameReplacement {
    char from;
    const char *to;
};

/// The Outlook rule's replacements, in the order they are applied. The "/" becomes "-" and "\"
/// goes, so a cleaned name never holds a path separator.
inline constexpr std::array<NameReplacement, 9> outlookReplacements{{{':', " "},
                                                                     {'/', "-"},
                                                                     {'\\', ""},
                                                                     {'*', ""},
                                                                     {'?', ""},
                                                                     {'"', ""},
                                                                     {'<', ""},
                                                                     {'>', ""},
                                                                     {'|', ""}}};

/// The name with every occurrence of the replacement's character replaced.
std::string ApplyReplacement(const std::string &name, const NameReplacement &replacement);

/// The time stamp "mm-dd-yyyy hh nn ss AMPM" with the locale's designators; hh runs 01 to 12.
std::string OutlookTimeStamp(const LocalDateTime &time, TextLocale &locale);

/// The longest file name the file system takes, in bytes.
inline constexpr std::size_t maxFileNameBytes = 255;
/// name followed by ending, where name is cut at a UTF-8 character boundary as far as needed for
/// the whole to fit in maxFileNameBytes.
std::string FittedFileName(const std::string &name, const std::string &ending);
/// Subject, "_", running number, ".txt", with the refused characters turned into blanks; a
/// subject too long for a file name is cut at a UTF-8 character boundary (FittedFileName), so
/// that names of one run stay told apart by their numbers.
std::string ExpressFileName(const std::string &subject, std::int32_t runningNumber);

/// The header values of an Outlook Express message row.
struct ExpressRecordFields {
    std::string from;
    std::string to;
    std::string subject;
    std::string dateReceived;
};
/// The Outlook Express message record: four header lines, an empty line and the body.
std::string ExpressRecord(const ExpressRecordFields &fields, const std::string &body);

} // namespace qb::exporting
