#include "wine/wine_registry_file.h"

#include "text/codepage.h"
#include "text/plain_text.h"

#include <optional>

namespace qb {
namespace {

constexpr std::string_view header = "WINE REGISTRY Version 2";

/// Builds UTF-8 text from the two things a registry file holds: UTF-8 bytes as written, and
/// UTF-16 code units from escapes or from string data stored as hex bytes.
class TextBuilder {
  public:
    void byte(char c) {
        dropPendingSurrogate();
        text_ += c;
    }
    void unit(char16_t unit) {
        if (pendingHigh_ != 0 && unit >= 0xDC00 && unit <= 0xDFFF) {
            AppendUtf8(text_, 0x10000 + ((pendingHigh_ - 0xD800) << 10) + (unit - 0xDC00));
            pendingHigh_ = 0;
            return;
        }
        dropPendingSurrogate();
        if (unit >= 0xD800 && unit <= 0xDBFF)
            pendingHigh_ = unit;
        else
            AppendUtf8(text_, unit);
    }
    std::string finish() {
        dropPendingSurrogate();
        return std::move(text_);
    }

  private:
    // A high surrogate that no low one follows stands for nothing: it becomes U+FFFD.
    void dropPendingSurrogate() {
        if (pendingHigh_ != 0)
            AppendUtf8(text_, 0xFFFD);
        pendingHigh_ = 0;
    }

    std::string text_;
    char16_t pendingHigh_ = 0;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

/// Reads up to maxDigits digits of the base at pos; -1 when there is none.
long readNumber(std::string_view line, std::size_t &pos, int base, int maxDigits) {
    long number = -1;
    for (int digits = 0; digits < maxDigits && pos < line.size(); ++digits, ++pos) {
        const int digit = HexDigitValue(line[pos]);
        if (digit < 0 || digit >= base)
            break;
        number = (number < 0 ? 0 : number * base) + digit;
    }
    return number;
}

char16_t letterEscape(char c) {
    switch (c) {
    case 'a':
        return 7;
    case 'b':
        return 8;
    case 't':
        return 9;
    case 'n':
        return 10;
    case 'v':
        return 11;
    case 'f':
        return 12;
    case 'r':
        return 13;
    case 'e':
        return 27;
    default:
        return 0;
    }
}

/// The text from pos up to the unescaped closing character, with the escapes Wine writes:
/// letters such as \n, octal \ooo, \x with up to four hex digits (a UTF-16 code unit), and a
/// backslash before any other character standing for that character. Nothing when the text does
/// not close on this line. On return pos is just after the closing character.
std::optional<std::string> readQuoted(std::string_view line, std::size_t &pos, char closing) {
    TextBuilder text;
    while (pos < line.size()) {
        const char c = line[pos++];
        if (c == closing)
            return text.finish();
        if (c != '\\') {
            text.byte(c);
            continue;
        }
        if (pos >= line.size())
            return std::nullopt;
        const char escaped = line[pos];
        if (escaped == 'x' && pos + 1 < line.size() && HexDigitValue(line[pos + 1]) >= 0) {
            ++pos;
            text.unit(static_cast<char16_t>(readNumber(line, pos, 16, 4)));
        } else if (escaped >= '0' && escaped <= '7') {
            text.unit(static_cast<char16_t>(readNumber(line, pos, 8, 3)));
        } else if (letterEscape(escaped) != 0) {
            text.unit(letterEscape(escaped));
            ++pos;
        } else {
            text.byte(escaped);
            ++pos;
        }
    }
    return std::nullopt;
}

bool isStringType(std::uint32_t type) {
    return type == registry_type::string || type == registry_type::expandString ||
           type == registry_type::multiString;
}

/// String data stored as bytes holds UTF-16 code units; the ANSI form is UTF-8. An odd last
/// byte belongs to no unit and is dropped.
std::string utf16BytesToUtf8(std::string_view bytes) {
    TextBuilder text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.unit(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text.finish();
}

/// Walks the lines of one file: keys, their values, and the continuation lines of hex data.
class Reader {
  public:
    Reader(std::string_view text, RegistryHive &hive, RegistryHive::Key &under)
        : text_(text), hive_(hive), under_(under) {}

    void read() {
        std::string_view line;
        if (!nextLine(line) || !line.starts_with(header))
            return;
        while (nextLine(line)) {
            if (line.starts_with('['))
                readKey(line);
            else if (key_ != nullptr && (line.starts_with('"') || line.starts_with('@')))
                readValue(line);
            // Anything else is a comment, an option such as #time=, or damage: passed over.
        }
    }

  private:
    bool nextLine(std::string_view &line) {
        if (pos_ >= text_.size())
            return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos)
            end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        pos_ = end + 1;
        return true;
    }

    void readKey(std::string_view line) {
        std::size_t pos = 1;
        const std::optional<std::string> path = readQuoted(line, pos, ']');
        // The values under a damaged key line would land in the wrong key: they go nowhere.
        key_ = nullptr;
        if (!path)
            return;
        RegistryHive::Key *key = &under_;
        std::size_t start = 0;
        while (start <= path->size()) {
            std::size_t end = path->find('\\', start);
            if (end == std::string::npos)
                end = path->size();
            if (end > start)
                key = &hive_.subKey(*key, path->substr(start, end - start));
            start = end + 1;
        }
        key_ = key;
    }

    void readValue(std::string_view line) {
        std::size_t pos = 0;
        std::optional<std::string> name;
        if (line[0] == '@') {
            name = std::string();
            pos = 1;
        } else {
            pos = 1;
            name = readQuoted(line, pos, '"');
        }
        if (!name)
            return;
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        if (pos >= line.size() || line[pos] != '=')
            return;
        ++pos;
        while (pos < line.size() && isBlank(line[pos]))
            ++pos;
        std::optional<RegistryValue> value = readData(line, pos);
        if (!value)
            return;
        value->name = std::move(*name);
        hive_.setValue(*key_, std::move(*value));
    }

    std::optional<RegistryValue> readData(std::string_view line, std::size_t pos) {
        const std::string_view data = line.substr(pos);
        if (data.starts_with('"'))
            return readString(line, pos + 1, registry_type::string);
        if (data.starts_with("str:\""))
            return readString(line, pos + 5, registry_type::string);
        if (data.starts_with("str(2):\""))
            return readString(line, pos + 8, registry_type::expandString);
        if (data.starts_with("str(7):\""))
            return readString(line, pos + 8, registry_type::multiString);
        if (data.starts_with("dword:"))
            return readDword(line, pos + 6);
        if (data.starts_with("hex:"))
            return readHex(line, pos + 4, registry_type::binary);
        if (data.starts_with("hex(")) {
            pos += 4;
            const long type = readNumber(line, pos, 16, 8);
            if (type < 0 || line.substr(pos, 2) != "):")
                return std::nullopt;
            return readHex(line, pos + 2, static_cast<std::uint32_t>(type));
        }
        return std::nullopt;
    }

    std::optional<RegistryValue> readString(std::string_view line, std::size_t pos,
                                            std::uint32_t type) {
        std::optional<std::string> text = readQuoted(line, pos, '"');
        if (!text)
            return std::nullopt;
        text->push_back('\0');
        return RegistryValue{std::string(), type, std::move(*text)};
    }

    std::optional<RegistryValue> readDword(std::string_view line, std::size_t pos) {
        const long number = readNumber(line, pos, 16, 8);
        if (number < 0 || !Trimmed(line.substr(pos), " \t").empty())
            return std::nullopt;
        std::string bytes(4, '\0');
        for (int i = 0; i < 4; ++i)
            bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
        return RegistryValue{std::string(), registry_type::dword, std::move(bytes)};
    }

    /// Bytes written as two hex digits each, separated by commas; a line that ends in "\"
    /// goes on in the next line.
    std::optional<RegistryValue> readHex(std::string_view line, std::size_t pos,
                                         std::uint32_t type) {
        std::string bytes;
        for (;;) {
            while (pos < line.size() && isBlank(line[pos]))
                ++pos;
            if (pos >= line.size())
                break;
            if (line[pos] == '\\') {
                if (!Trimmed(line.substr(pos + 1), " \t").empty() || !nextLine(line))
                    return std::nullopt;
                pos = 0;
                continue;
            }
            const long byte = readNumber(line, pos, 16, 2);
            if (byte < 0)
                return std::nullopt;
            bytes += static_cast<char>(byte);
            while (pos < line.size() && isBlank(line[pos]))
                ++pos;
            if (pos < line.size() && line[pos] == ',')
                ++pos;
            else if (pos < line.size() && line[pos] != '\\')
                return std::nullopt;
        }
        if (isStringType(type))
            bytes = utf16BytesToUtf8(bytes);
        return RegistryValue{std::string(), type, std::move(bytes)};
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    RegistryHive &hive_;
    RegistryHive::Key &under_;
    RegistryHive::Key *key_ = nullptr;
};

} // namespace

RegistryHive::Key &RegistryHive::subKey(Key &parent, const std::string &name) {
    const std::string lower = LowerCase(name);
    const auto found = parent.subKeyByName.find(lower);
    if (found != parent.subKeyByName.end())
        return *found->second;
    Key &key = keys_.emplace_back();
    key.name = name;
    parent.subKeys.push_back(&key);
    parent.subKeyByName.emplace(lower, &key);
    return key;
}

const RegistryHive::Key *RegistryHive::find(const Key &from, std::string_view path) const {
    const Key *key = &from;
    std::size_t start = 0;
    while (key != nullptr && start <= path.size()) {
        std::size_t end = path.find('\\', start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start) {
            const auto found =
                key->subKeyByName.find(LowerCase(std::string(path.substr(start, end - start))));
            key = found == key->subKeyByName.end() ? nullptr : found->second;
        }
        start = end + 1;
    }
    return key;
}

void RegistryHive::setValue(Key &key, RegistryValue value) {
    const std::string lower = LowerCase(value.name);
    const auto found = key.valueByName.find(lower);
    if (found != key.valueByName.end()) {
        key.values[found->second] = std::move(value);
        return;
    }
    key.valueByName.emplace(lower, key.values.size());
    key.values.push_back(std::move(value));
}

void ReadWineRegistryText(std::string_view text, RegistryHive &hive, RegistryHive::Key &under) {
    Reader(text, hive, under).read();
}

} // namespace qb
