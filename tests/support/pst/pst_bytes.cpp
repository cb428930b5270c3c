#include "support/pst/pst_bytes.h"

namespace qb::pstmaker {
namespace {

constexpr char32_t replacementCharacter = 0xFFFD;

/// The code point starting at text[at]; advances at past it.
char32_t NextCodePoint(std::string_view text, std::size_t &at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    int following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (following < 0)
        return replacementCharacter;
    char32_t code = lead & (0x3F >> following);
    for (; following > 0; --following) {
        if (at >= text.size() || (static_cast<unsigned char>(text[at]) & 0xC0) != 0x80)
            return replacementCharacter;
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return code > 0x10FFFF ? replacementCharacter : code;
}

} // namespace

void AppendLittleEndian(Bytes &out, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void StoreLittleEndian(std::uint8_t *at, std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void AppendBytes(Bytes &out, ByteView bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

Bytes Utf16(std::string_view utf8) {
    Bytes out;
    out.reserve(utf8.size() * 2);
    for (std::size_t at = 0; at < utf8.size();) {
        const char32_t code = NextCodePoint(utf8, at);
        if (code >= 0x10000) {
            const char32_t offset = code - 0x10000;
            AppendLittleEndian(out, 0xD800 + (offset >> 10), 2);
            AppendLittleEndian(out, 0xDC00 + (offset & 0x3FF), 2);
        } else {
            AppendLittleEndian(out, code, 2);
        }
    }
    return out;
}

std::string Utf16ToUtf8(std::string_view utf16) {
    std::string out;
    auto unit = [&](std::size_t at) {
        return static_cast<char32_t>(static_cast<unsigned char>(utf16[at]) |
                                     (static_cast<unsigned char>(utf16[at + 1]) << 8));
    };
    for (std::size_t at = 0; at + 1 < utf16.size(); at += 2) {
        char32_t code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < utf16.size() && unit(at + 2) >= 0xDC00 &&
            unit(at + 2) < 0xE000) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
            at += 2;
        } else if (code >= 0xD800 && code < 0xE000) {
            code = replacementCharacter;
        }
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return out;
}

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

} // namespace qb::pstmaker
