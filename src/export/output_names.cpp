#include "export/output_names.h"

#include "text/codepage.h"

#include <cstdio>
#include <string_view>

namespace qb::exporting {
namespace {

/// Characters the Outlook Express rule turns into blanks.
constexpr std::string_view expressRefused = "/\\*:?\"<>|";

} // namespace

std::string ApplyReplacement(const std::string &name, const NameReplacement &replacement) {
    std::string result;
    result.reserve(name.size());
    for (char c : name) {
        if (c == replacement.from)
            result += replacement.to;
        else
            result += c;
    }
    return result;
}

std::string OutlookTimeStamp(const LocalDateTime &time, TextLocale &locale) {
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    const std::string designator = time.hour < 12 ? locale.amDesignator() : locale.pmDesignator();
    char digits[32];
    std::snprintf(digits, sizeof digits, "%02d-%02d-%04d %02d %02d %02d ", time.month, time.day,
                  time.year, hour12, time.minute, time.second);
    return digits + designator;
}

std::string FittedFileName(const std::string &name, const std::string &ending) {
    const std::size_t room =
        maxFileNameBytes > ending.size() ? maxFileNameBytes - ending.size() : 0;
    return std::string(Utf8Prefix(name, room)) + ending;
}

std::string ExpressFileName(const std::string &subject, std::int32_t runningNumber) {
    std::string name = subject;
    for (char &c : name)
        if (expressRefused.find(c) != std::string_view::npos)
            c = ' ';
    // Only the subject is cut: with the number whole at the end, no two names of a run can meet.
    return FittedFileName(name, "_" + std::to_string(runningNumber) + ".txt");
}

std::string ExpressRecord(const ExpressRecordFields &fields, const std::string &body) {
    return "From: " + fields.from + "\r\n" + "To: " + fields.to + "\r\n" +
           "Subject: " + fields.subject + "\r\n" + "Date Received: " + fields.dateReceived +
           "\r\n\r\n" + body;
}

} // namespace qb::exporting
