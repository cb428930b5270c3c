#pragma once

#include <string>
#include <string_view>

// Header text as a person reads it.
namespace qb {

/// The header value with every RFC 2047 encoded word ("=?charset?Q?...?=" or "=?charset?B?...?=",
/// any charset iconv knows, an RFC 2231 language after "*" ignored) decoded to UTF-8. The blanks
/// between two adjacent encoded words go, and adjacent words of one charset are decoded together,
/// so a character split between them comes out whole. An encoded word that is malformed (a broken
/// Q or B text, an unknown charset, bytes that are no text in their charset) stays as it stands,
/// and so does everything outside encoded words: no other byte is changed. Never fails.
std::string DecodedHeaderText(std::string_view value);

} // namespace qb
