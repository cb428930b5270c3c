#include "platform/qt/qt_text_locale.h"

#include <QDate>
#include <QTime>

namespace qb {

QString WithoutTimeZone(const QString &format) {
    // Quoted text may hold a "t" that is not a field; only unquoted ones are the zone.
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        result += c;
    }
    return result.trimmed();
}

QString WithFourDigitYear(const QString &format) {
    // A search for a year must find it in the Date text, which a two-digit year never matches.
    QString result;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('y')) {
            result += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == QLatin1Char('y'))
            ++run;
        result += QString(run == 2 ? 4 : run, QLatin1Char('y'));
        i += run;
    }
    return result;
}

std::string QtTextLocale::shortDate(const LocalDateTime &value) {
    const QString format = WithFourDigitYear(locale_.dateFormat(QLocale::ShortFormat));
    return locale_.toString(QDate(value.year, value.month, value.day), format).toStdString();
}

std::string QtTextLocale::longTime(const LocalDateTime &value) {
    const QString format = WithoutTimeZone(locale_.timeFormat(QLocale::LongFormat));
    return locale_.toString(QTime(value.hour, value.minute, value.second), format).toStdString();
}

std::string QtTextLocale::upper(const std::string &text) {
    return locale_.toUpper(QString::fromStdString(text)).toStdString();
}

std::string QtTextLocale::amDesignator() {
    return locale_.amText().toStdString();
}

std::string QtTextLocale::pmDesignator() {
    return locale_.pmText().toStdString();
}

} // namespace qb
