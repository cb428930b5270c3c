#pragma once

#include "platform/text_locale.h"

#include <QLocale>

namespace qb {

/// Dates, times and letter case by the rules of the user's Qt locale.
class QtTextLocale : public TextLocale {
  public:
    QtTextLocale() : locale_(QLocale::system()) {}
    explicit QtTextLocale(QLocale locale) : locale_(std::move(locale)) {}

    /// The short date format with the year always in four digits, such as "6/21/2011".
    std::string shortDate(const LocalDateTime &value) override;
    /// The long time format without a time zone, such as "2:05:09 PM".
    std::string longTime(const LocalDateTime &value) override;
    std::string upper(const std::string &text) override;
    std::string amDesignator() override;
    std::string pmDesignator() override;

  private:
    QLocale locale_;
};

/// A time format without its time-zone field ("t") and the blanks before it.
QString WithoutTimeZone(const QString &format);

/// A date format whose two-digit year fields ("yy") write four digits ("yyyy"); quoted text and
/// the other fields stay as they are.
QString WithFourDigitYear(const QString &format);

} // namespace qb
