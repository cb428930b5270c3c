#include "outlook/search_filter.h"

#include "outlook/message_text.h"

namespace qb::outlook {

bool PassesSearchFilter(Item &item, const std::string &searchText, std::int16_t outlookVersion,
                        TextLocale &locale) {
    const std::string wanted = locale.upper(searchText);
    const auto contains = [&](const std::string &text) {
        return locale.upper(text).find(wanted) != std::string::npos;
    };
    // Each part is read only when the parts before it did not match: the body comes first
    // although it is the dearest read, because that order decides which failure is met.
    if (contains(item.Body()) || contains(item.SenderName()))
        return true;
    if (outlookVersion >= 10 && contains(item.SenderEmailAddress()))
        return true;
    return contains(ReceivedTimeText(locale, item.ReceivedTime()));
}

} // namespace qb::outlook
