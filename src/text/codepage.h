#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qb {

/// Code page of 8-bit text when nothing names one.
inline constexpr int defaultCodepage = 1252;

/// Converts 8-bit text in a Windows code page (1252, 1251, 932, 65001, 28591, ...) to UTF-8.
/// An unknown code page counts as windows-1252; bytes the code page does not define become
/// U+FFFD. The result is always well-formed UTF-8. Never fails.
std::string CodepageToUtf8(std::string_view bytes, int codepage);

/// True when CodepageToUtf8 reads text of the code page as that code page, not as
/// windows-1252.
bool IsKnownCodepage(int codepage);

/// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or code points
/// beyond U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// The bytes with every byte that is not part of a well-formed UTF-8 sequence replaced by
/// U+FFFD.
std::string ToValidUtf8(std::string_view bytes);

/// Appends the UTF-8 form of a code point; invalid code points become U+FFFD.
void AppendUtf8(std::string &out, char32_t codePoint);

/// The longest start of the text that holds at most maxBytes bytes and does not end inside a
/// UTF-8 character: the cut moves back before any continuation byte, so no character is split.
std::string_view Utf8Prefix(std::string_view text, std::size_t maxBytes);

} // namespace qb
