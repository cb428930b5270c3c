#include "mime/header_text.h"

#include "text/plain_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <optional>
#include <vector>

// GMime's own header decoder is not used: it guesses at damaged words (an unknown charset is
// read as another, bytes outside the charset become "?", a broken base64 text vanishes), and
// here a damaged word must stay readable as it was written.
namespace qb {
namespace {

/// One well-formed encoded word of a header value.
struct EncodedWord {
    std::size_t begin = 0; // offset of its "=?"
    std::size_t end = 0;   // offset just past its "?="
    std::string charset;   // without a language
    std::string bytes;     // the encoded text decoded, still in its charset
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

/// True for a character a charset name may hold. A "/" would hand iconv options of its own.
bool IsCharsetCharacter(char c) {
    return c > ' ' && c < '\x7f' && c != '/' && c != '\\';
}

/// The bytes of a Q-encoded text: "_" is a blank, "=" and two hex digits one byte.
std::optional<std::string> QDecoded(std::string_view encoded) {
    std::string bytes;
    bytes.reserve(encoded.size());
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '_') {
            bytes += ' ';
        } else if (encoded[i] != '=') {
            bytes += encoded[i];
        } else {
            const int high = i + 1 < encoded.size() ? HexDigitValue(encoded[i + 1]) : -1;
            const int low = i + 2 < encoded.size() ? HexDigitValue(encoded[i + 2]) : -1;
            if (high < 0 || low < 0)
                return std::nullopt;
            bytes += static_cast<char>(high * 16 + low);
            i += 2;
        }
    }
    return bytes;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    return c == '/' ? 63 : -1;
}

/// The bytes of a B-encoded (base64) text. Missing padding is taken, as many mailers leave it
/// out; a character outside the alphabet or a length no base64 text has is not.
std::optional<std::string> BDecoded(std::string_view encoded) {
    for (int padding = 0; padding < 2 && encoded.ends_with('='); ++padding)
        encoded.remove_suffix(1);
    if (encoded.size() % 4 == 1)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(encoded.size() * 3 / 4);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const char c : encoded) {
        const int value = Base64Value(c);
        if (value < 0)
            return std::nullopt;
        bits = (bits << 6) | static_cast<std::uint32_t>(value);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            bytes += static_cast<char>((bits >> bitCount) & 0xff);
        }
    }
    return bytes;
}

/// The encoded word that begins with the "=?" at `at`, or nothing when none begins there. Each
/// look ends at the third "?" after `at`, so looking at every "=?" of a value stays linear.
std::optional<EncodedWord> WordAt(std::string_view value, std::size_t at) {
    const std::size_t charsetEnd = value.find('?', at + 2);
    if (charsetEnd == std::string_view::npos || charsetEnd + 2 >= value.size() ||
        value[charsetEnd + 2] != '?')
        return std::nullopt;
    std::string_view charset = value.substr(at + 2, charsetEnd - at - 2);
    charset = charset.substr(0, charset.find('*'));
    if (charset.empty() || !std::all_of(charset.begin(), charset.end(), IsCharsetCharacter))
        return std::nullopt;
    const std::size_t textBegin = charsetEnd + 3;
    const std::size_t textEnd = value.find('?', textBegin);
    if (textEnd == std::string_view::npos || textEnd + 1 >= value.size() ||
        value[textEnd + 1] != '=')
        return std::nullopt;
    const std::string_view encoded = value.substr(textBegin, textEnd - textBegin);
    if (std::any_of(encoded.begin(), encoded.end(), IsBlank))
        return std::nullopt;
    const char encoding = value[charsetEnd + 1];
    std::optional<std::string> bytes;
    if (encoding == 'Q' || encoding == 'q')
        bytes = QDecoded(encoded);
    else if (encoding == 'B' || encoding == 'b')
        bytes = BDecoded(encoded);
    if (!bytes)
        return std::nullopt;
    return EncodedWord{at, textEnd + 2, std::string(charset), std::move(*bytes)};
}

/// The bytes as UTF-8 text, read in the charset; nothing when iconv does not know the charset or
/// the bytes are not whole text in it.
std::optional<std::string> Utf8Of(std::string_view bytes, const std::string &charset) {
    const iconv_t converter = iconv_open("UTF-8", charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string text;
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    bool whole = true;
    // After the bytes, one call more ends a charset that shifts between states.
    for (bool ending = false;;) {
        char buffer[1024];
        char *out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = ending ? iconv(converter, nullptr, nullptr, &out, &outLeft)
                                          : iconv(converter, &in, &inLeft, &out, &outLeft);
        text.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG)
                continue;
            whole = false;
            break;
        }
        if (ending)
            break;
        ending = true;
    }
    iconv_close(converter);
    if (!whole)
        return std::nullopt;
    return text;
}

/// Every well-formed encoded word of the value, in order.
std::vector<EncodedWord> EncodedWords(std::string_view value) {
    std::vector<EncodedWord> words;
    for (std::size_t at = value.find("=?"); at != std::string_view::npos;) {
        if (std::optional<EncodedWord> word = WordAt(value, at)) {
            at = value.find("=?", word->end);
            words.push_back(std::move(*word));
        } else {
            at = value.find("=?", at + 1);
        }
    }
    return words;
}

/// True when nothing but blanks stands between the two words.
bool Adjacent(std::string_view value, const EncodedWord &first, const EncodedWord &second) {
    const std::string_view between = value.substr(first.end, second.begin - first.end);
    return std::all_of(between.begin(), between.end(), IsBlank);
}

/// The text of each word; nothing for a word that stays as it stands. Adjacent words of one
/// charset are read as one, the first carrying the text of all; when that fails, each is read
/// alone, so one bad word spoils no other.
std::vector<std::optional<std::string>> WordTexts(std::string_view value,
                                                  const std::vector<EncodedWord> &words) {
    std::vector<std::optional<std::string>> texts(words.size());
    for (std::size_t first = 0; first < words.size();) {
        std::size_t last = first;
        std::string bytes = words[first].bytes;
        while (last + 1 < words.size() && Adjacent(value, words[last], words[last + 1]) &&
               EqualIgnoringCase(words[last + 1].charset, words[first].charset))
            bytes += words[++last].bytes;
        if (std::optional<std::string> text = Utf8Of(bytes, words[first].charset)) {
            texts[first] = std::move(text);
            for (std::size_t word = first + 1; word <= last; ++word)
                texts[word] = std::string();
        } else {
            for (std::size_t word = first; word <= last; ++word)
                texts[word] = Utf8Of(words[word].bytes, words[word].charset);
        }
        first = last + 1;
    }
    return texts;
}

} // namespace

std::string DecodedHeaderText(std::string_view value) {
    const std::vector<EncodedWord> words = EncodedWords(value);
    const std::vector<std::optional<std::string>> texts = WordTexts(value, words);
    std::string decoded;
    decoded.reserve(value.size());
    std::size_t copied = 0;
    for (std::size_t word = 0; word < words.size(); ++word) {
        const bool joined = word > 0 && texts[word - 1] && texts[word] &&
                            Adjacent(value, words[word - 1], words[word]);
        if (!joined)
            decoded += value.substr(copied, words[word].begin - copied);
        if (texts[word])
            decoded += *texts[word];
        else
            decoded += value.substr(words[word].begin, words[word].end - words[word].begin);
        copied = words[word].end;
    }
    decoded += value.substr(copied);
    return decoded;
}

} // namespace qb
