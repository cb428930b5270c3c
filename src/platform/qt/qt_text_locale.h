#pragma once

#include "platform/text_locale.h"

#include <QLocale>

namespace qb {

/// Dates, times and letter case by the rules of the user's Qt locale.
class QtTextLocale : public TextLocale {
  public:
    QtTextLocale() : locale_(QLocale::system()) {}
    explicit QtTextLocale(QLocale locale) : locale_(std::move(locale)) {}

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

} // namespace qb
