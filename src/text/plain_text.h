#pragma once

#include <string>
#include <string_view>

namespace qb {

/// The text without the given characters at either end; blanks only by default, as the
/// windows trim what the user typed.
std::string Trimmed(std::string_view text, std::string_view characters = " ");

/// The text with ASCII letters in lower case; other bytes, UTF-8 included, pass unchanged.
std::string LowerCase(std::string text);

/// True when both texts are equal but for the letter case of ASCII letters.
bool EqualIgnoringCase(std::string_view a, std::string_view b);

/// The value of one hexadecimal digit, either case; -1 for any other character.
int HexDigitValue(char c);

/// Text with every line end (CR LF, LF or CR alone) written as CR LF.
std::string WithCrLf(const std::string &text);

} // namespace qb
