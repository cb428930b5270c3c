#include "platform/qt/ini_settings_format.h"

#include "text/plain_text.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <iterator>
#include <utility>

namespace qb {
namespace {

// Keys of this section are the top-level ones; a group really named so is written "%General".
constexpr QLatin1StringView topSection("General");
constexpr QLatin1StringView escapedTopSection("%General");

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
    return c == '\n' || c == '\r';
}

/// The escapes written as a backslash and a letter, both ways: the letter and what it stands
/// for.
constexpr char namedEscapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'},
                                    {'t', '\t'}, {'v', '\v'}, {'"', '"'},  {'\\', '\\'}};

/// The characters that end a run of plain text in a value.
bool IsSpecialInValue(char c) {
    return c == '\\' || c == '"' || c == ',' || c == ';' || IsLineEnd(c);
}

/// The number written in `digits` hex digits at `at`, or -1 when they are not all there.
int HexNumber(QByteArrayView text, qsizetype at, qsizetype digits) {
    if (at + digits > text.size())
        return -1;
    int number = 0;
    for (qsizetype i = at; i < at + digits; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return -1;
        number = number * 16 + digit;
    }
    return number;
}

/// Decodes a key or section name: "\" separates groups as "/" does, "%HH" and "%UHHHH" stand
/// for one character. A "%" that starts neither is kept.
QString UnescapedKey(QByteArrayView text) {
    QString key;
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at] == '%') {
            const bool wide = at + 1 < text.size() && text[at + 1] == 'U';
            const qsizetype first = at + (wide ? 2 : 1);
            const qsizetype digits = wide ? 4 : 2;
            if (const int code = HexNumber(text, first, digits); code >= 0) {
                key += QChar(char16_t(code));
                at = first + digits;
                continue;
            }
        }
        if (text[at] == '\\') {
            key += QLatin1Char('/');
            ++at;
            continue;
        }
        qsizetype end = at + 1;
        while (end < text.size() && text[end] != '%' && text[end] != '\\')
            ++end;
        key += QString::fromUtf8(text.sliced(at, end - at));
        at = end;
    }
    return key;
}

/// Reads the INI text line by line. Every step moves forward, so the work is in proportion to
/// the text whatever it holds.
class IniTextReader {
  public:
    explicit IniTextReader(QByteArrayView text) : text_(text) {}

    void readInto(QSettings::SettingsMap &map) {
        while (at_ < text_.size()) {
            skipBlanks();
            if (at_ == text_.size())
                break;
            const char first = text_[at_];
            if (first == '[')
                readSectionLine();
            else if (first == ';' || first == '#' || IsLineEnd(first))
                skipLine();
            else
                readKeyLine(map);
        }
    }

  private:
    void skipBlanks() {
        while (at_ < text_.size() && IsBlank(text_[at_]))
            ++at_;
    }

    void skipLine() {
        while (at_ < text_.size() && !IsLineEnd(text_[at_]))
            ++at_;
        while (at_ < text_.size() && IsLineEnd(text_[at_]))
            ++at_;
    }

    qsizetype lineEnd() const {
        qsizetype end = at_;
        while (end < text_.size() && !IsLineEnd(text_[end]))
            ++end;
        return end;
    }

    void readSectionLine() {
        const qsizetype end = lineEnd();
        qsizetype close = at_ + 1;
        while (close < end && text_[close] != ']')
            ++close;
        const QString name = UnescapedKey(text_.sliced(at_ + 1, close - at_ - 1).trimmed());
        if (name.compare(topSection, Qt::CaseInsensitive) == 0)
            section_.clear();
        else if (name.compare(escapedTopSection, Qt::CaseInsensitive) == 0)
            section_ = name.mid(1);
        else
            section_ = name;
        at_ = end;
    }

    void readKeyLine(QSettings::SettingsMap &map) {
        const qsizetype end = lineEnd();
        qsizetype equals = at_;
        while (equals < end && text_[equals] != '=')
            ++equals;
        if (equals == end) { // a damaged line: no value
            at_ = end;
            return;
        }
        const QString key = UnescapedKey(text_.sliced(at_, equals - at_).trimmed());
        at_ = equals + 1;
        QStringList items = readValue();
        if (key.isEmpty() || !plainItems(items))
            return;
        const QString path = section_.isEmpty() ? key : section_ + QLatin1Char('/') + key;
        if (items.size() == 1)
            map.insert(path, items.front());
        else
            map.insert(path, items);
    }

    /// The value's texts, several when unquoted commas separate them. Ends at the line end or
    /// at a ";" outside quotes, which starts a comment.
    QStringList readValue() {
        QStringList items;
        QString item;
        qsizetype uncut = 0; // blanks from escapes stay at the end of an item
        bool inQuotes = false;
        bool quoted = false;
        skipBlanks();
        while (at_ < text_.size() && !IsLineEnd(text_[at_])) {
            const char c = text_[at_];
            if (c == ';' && !inQuotes) {
                at_ = lineEnd();
            } else if (c == '"') {
                ++at_;
                inQuotes = !inQuotes;
                quoted = true;
                if (!inQuotes)
                    skipBlanks();
            } else if (c == ',' && !inQuotes) {
                ++at_;
                items.append(finishedItem(item, uncut, quoted));
                uncut = 0;
                quoted = false;
                skipBlanks();
            } else if (c == '\\') {
                ++at_;
                readEscape(item);
                uncut = item.size();
            } else {
                qsizetype end = at_ + 1;
                while (end < text_.size() && !IsSpecialInValue(text_[end]))
                    ++end;
                item += QString::fromUtf8(text_.sliced(at_, end - at_));
                at_ = end;
            }
        }
        items.append(finishedItem(item, uncut, quoted));
        return items;
    }

    /// The item without its trailing blanks, unless they were quoted or escaped; leaves `item`
    /// empty for the next one.
    static QString finishedItem(QString &item, qsizetype uncut, bool quoted) {
        if (!quoted)
            while (item.size() > uncut && IsBlank(char(item.back().unicode())))
                item.chop(1);
        return std::exchange(item, QString());
    }

    void readEscape(QString &item) {
        if (at_ == text_.size())
            return;
        const char c = text_[at_++];
        for (const auto &[letter, character] : namedEscapes) {
            if (c == letter) {
                item += QLatin1Char(character);
                return;
            }
        }
        if (c == '?' || c == '\'') { // as in C, these stand for themselves
            item += QLatin1Char(c);
            return;
        }
        if (c == 'x') {
            readNumberEscape(item, 16);
        } else if (c >= '0' && c <= '7') {
            --at_; // the first digit is part of the number
            readNumberEscape(item, 8);
        } else if (IsLineEnd(c) && at_ < text_.size() && IsLineEnd(text_[at_]) && text_[at_] != c) {
            ++at_; // a line continued after "\"; any other escaped character is dropped
        }
    }

    /// The digits after "\x" or "\": one character, its code kept to 16 bits however many
    /// digits follow. "\x" without digits stands for nothing.
    void readNumberEscape(QString &item, int base) {
        char16_t code = 0;
        bool any = false;
        for (; at_ < text_.size(); ++at_) {
            const int digit = HexDigitValue(text_[at_]);
            if (digit < 0 || digit >= base)
                break;
            code = char16_t(code * base + digit);
            any = true;
        }
        if (any)
            item += QChar(code);
    }

    /// Qt's writer doubles the "@" before a text that begins with one and writes a text that
    /// holds a NUL as "@String(...)"; both are taken back. Any other "@Name(...)" item is an
    /// object Qt stored ("@Variant(...)", "@ByteArray(...)"), which these settings never hold:
    /// false.
    static bool plainItems(QStringList &items) {
        static constexpr QLatin1StringView text("@String(");
        for (QString &item : items) {
            if (item.startsWith(QLatin1StringView("@@")))
                item.remove(0, 1);
            else if (item.startsWith(text) && item.endsWith(QLatin1Char(')')))
                item = item.sliced(text.size(), item.size() - text.size() - 1);
            else if (item.startsWith(QLatin1Char('@')) && item.endsWith(QLatin1Char(')')))
                return false;
        }
        return true;
    }

    QByteArrayView text_;
    qsizetype at_ = 0;
    QString section_;
};

QByteArray EscapedKey(QStringView key) {
    QByteArray escaped;
    for (const QChar ch : key) {
        const char16_t code = ch.unicode();
        if (code == '/')
            escaped += '\\';
        else if (code < 0x80 &&
                 (ch.isLetterOrNumber() || code == '_' || code == '-' || code == '.'))
            escaped += char(code);
        else if (code <= 0xff)
            escaped += '%' + QByteArray::number(code, 16).toUpper().rightJustified(2, '0');
        else
            escaped += "%U" + QByteArray::number(code, 16).toUpper().rightJustified(4, '0');
    }
    return escaped;
}

QByteArray EscapedSection(const QString &section) {
    if (section.isEmpty())
        return QByteArray(topSection.data(), topSection.size());
    if (section.compare(topSection, Qt::CaseInsensitive) == 0)
        return '%' + section.toLatin1();
    return EscapedKey(section);
}

/// One text as a value: UTF-8, with quotes when blanks at its ends or a "," or ";" would not
/// survive the reading, and "\" escapes for control characters, quotes and backslashes.
QByteArray EscapedText(const QString &text) {
    const QByteArray bytes =
        (text.startsWith(QLatin1Char('@')) ? QLatin1Char('@') + text : text).toUtf8();
    const bool needsQuotes = !bytes.isEmpty() && (IsBlank(bytes.front()) || IsBlank(bytes.back()) ||
                                                  bytes.contains(',') || bytes.contains(';'));
    QByteArray escaped = needsQuotes ? "\"" : "";
    bool afterNumber = false; // a hex digit right after "\xHH" would read as part of it
    for (const char c : bytes) {
        const auto found = std::find_if(std::begin(namedEscapes), std::end(namedEscapes),
                                        [c](const auto &pair) { return pair[1] == c; });
        const bool control = (c >= 0 && c < 0x20) || c == 0x7f;
        if (found != std::end(namedEscapes)) {
            escaped += '\\';
            escaped += (*found)[0];
            afterNumber = false;
        } else if (control || (afterNumber && HexDigitValue(c) >= 0)) {
            escaped += "\\x" + QByteArray::number(uchar(c), 16);
            afterNumber = true;
        } else {
            escaped += c;
            afterNumber = false;
        }
    }
    if (needsQuotes)
        escaped += '"';
    return escaped;
}

QByteArray EscapedValue(const QVariant &value) {
    if (value.typeId() != QMetaType::QStringList)
        return EscapedText(value.toString());
    QByteArrayList items;
    for (const QString &item : value.toStringList())
        items.append(EscapedText(item));
    return items.join(", ");
}

} // namespace

bool ReadIniText(QIODevice &device, QSettings::SettingsMap &map) {
    const QByteArray text = device.readAll();
    IniTextReader(text).readInto(map);
    return true;
}

bool WriteIniText(QIODevice &device, const QSettings::SettingsMap &map) {
    // Sorted by section, the top-level keys (no section) first.
    QMap<QString, QByteArray> sections;
    for (auto entry = map.begin(); entry != map.end(); ++entry) {
        const QString &key = entry.key();
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        sections[slash < 0 ? QString() : key.first(slash)] +=
            EscapedKey(QStringView(key).sliced(slash + 1)) + '=' + EscapedValue(entry.value()) +
            '\n';
    }
    QByteArray text;
    for (auto section = sections.begin(); section != sections.end(); ++section) {
        if (!text.isEmpty())
            text += '\n';
        text += '[' + EscapedSection(section.key()) + "]\n" + section.value();
    }
    return device.write(text) == text.size();
}

QSettings::Format IniSettingsFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), ReadIniText, WriteIniText);
    return format;
}

} // namespace qb
