#pragma once

#include "platform/clock.h"

#include <string>

namespace qb {

/// The user's regional settings.
class TextLocale {
  public:
    virtual ~TextLocale() = default;
    /// The date in the user's short date format.
    virtual std::string shortDate(const LocalDateTime &value) = 0;
    /// The time of day in the user's long time format.
    virtual std::string longTime(const LocalDateTime &value) = 0;
    /// Upper case by the rules of the user's language.
    virtual std::string upper(const std::string &text) = 0;
    /// Designators for times before noon and from noon on, such as "AM" and "PM".
    virtual std::string amDesignator() = 0;
    virtual std::string pmDesignator() = 0;
};

} // namespace qb
