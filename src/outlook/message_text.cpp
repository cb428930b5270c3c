#include "outlook/message_text.h"

#include "failure/failure.h"

#include <cctype>
#include <cstdint>

namespace qb::outlook {

std::string ReceivedTimeText(TextLocale &locale, const LocalDateTime &receivedTime) {
    // A message that carries no time at all reads as the zero date; showing 12/30/1899 would
    // give it a date it never had, and a search for 1899 would find it.
    if (receivedTime == LocalDateTime{})
        return {};
    std::string text = locale.shortDate(receivedTime);
    if (!receivedTime.isMidnight()) {
        text += ' ';
        text += locale.longTime(receivedTime);
    }
    return text;
}

std::string AttachmentsText(int attachmentCount) {
    if (attachmentCount > 0)
        return "Yes (" + std::to_string(attachmentCount) + ")";
    return "No";
}

std::int16_t MajorVersion(const std::string &versionText) {
    std::size_t digits = 0;
    while (digits < versionText.size() &&
           std::isdigit(static_cast<unsigned char>(versionText[digits])))
        ++digits;
    if (digits == 0)
        throw Failure(error_number::typeMismatch, programSource, "Type mismatch");
    long value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        value = value * 10 + (versionText[i] - '0');
        if (value > INT16_MAX)
            throw Failure(error_number::overflow, programSource, "Overflow");
    }
    return static_cast<std::int16_t>(value);
}

} // namespace qb::outlook
