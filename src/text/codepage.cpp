#include "text/codepage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <string>

namespace qb {
namespace {

/// The iconv name of a Windows code page, or empty when iconv has no equivalent.
std::string IconvName(int codepage) {
    switch (codepage) {
    case 65001:
        return "UTF-8";
    case 20127:
        return "ASCII";
    case 1200:
        return "UTF-16LE";
    case 1201:
        return "UTF-16BE";
    case 20866:
        return "KOI8-R";
    case 21866:
        return "KOI8-U";
    case 50220:
    case 50221:
    case 50222:
        return "ISO-2022-JP";
    case 51932:
        return "EUC-JP";
    case 51949:
        return "EUC-KR";
    case 52936:
        return "HZ";
    case 54936:
        return "GB18030";
    case 10000:
        return "MACINTOSH";
    default:
        break;
    }
    if (codepage >= 28591 && codepage <= 28605)
        return "ISO-8859-" + std::to_string(codepage - 28590);
    if (codepage > 0 && codepage < 2000)
        return "CP" + std::to_string(codepage);
    return {};
}

/// Converts with iconv; bytes it cannot convert become U+FFFD. False when iconv lacks the name.
bool ConvertWithIconv(std::string_view bytes, const std::string &name, std::string &out) {
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::string buffer(bytes.size() * 4 + 16, '\0');
    while (inLeft > 0) {
        char *outStart = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(converter, &in, &inLeft, &outStart, &outLeft);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (result != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG)
            continue;
        // An undefined or cut-off sequence: mark it and carry on with the next byte.
        AppendUtf8(out, 0xFFFD);
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(converter);
    return true;
}

/// The length of the well-formed UTF-8 sequence at `at`, or 0 when none starts there. The
/// second byte's range rules out overlong forms, surrogates and code points beyond U+10FFFF.
std::size_t Utf8SequenceLength(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || at + length > bytes.size())
        return 0;
    const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80)
            return 0;
    return length;
}

} // namespace

void AppendUtf8(std::string &out, char32_t codePoint) {
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string ToValidUtf8(std::string_view bytes) {
    if (IsValidUtf8(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + 16);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            AppendUtf8(out, 0xFFFD);
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return out;
}

std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes) {
    std::size_t length = std::min(text.size(), maxBytes);
    // A byte 10xxxxxx continues a character: cutting before it would leave half a character.
    while (length > 0 && length < text.size() &&
           (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    return text.substr(0, length);
}

bool IsKnownCodepage(int codepage) {
    const std::string name = IconvName(codepage);
    if (name.empty())
        return false;
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    iconv_close(converter);
    return true;
}

std::string CodepageToUtf8(std::string_view bytes, int codepage) {
    // iconv lets code points beyond U+10FFFF through, so UTF-8 is checked here instead.
    if (codepage == 65001)
        return ToValidUtf8(bytes);
    std::string out;
    std::string name = IconvName(codepage);
    if (!name.empty() && ConvertWithIconv(bytes, name, out))
        return out;
    out.clear();
    ConvertWithIconv(bytes, IconvName(defaultCodepage), out);
    return out;
}

} // namespace qb
