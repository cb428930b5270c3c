#pragma once

#include "platform/outlook_api.h"
#include "platform/text_locale.h"

#include <cstdint>
#include <string>

namespace qb::outlook {

/// True when the search text, upper-cased by the locale, is a substring of the upper-cased body,
/// sender name, sender address (of any type, only from major version 10 on) or Date text of the
/// message. The parts are read in that order and reading stops at the first match; the subject
/// is never searched. A property that cannot be read throws its Failure.
bool PassesSearchFilter(Item &item, const std::string &searchText, std::int16_t outlookVersion,
                        TextLocale &locale);

} // namespace qb::outlook
