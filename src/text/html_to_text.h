#pragma once

#include <string>
#include <string_view>

namespace qb {

/// Plain text of an HTML document (UTF-8 in, UTF-8 out, "\n" line ends): tags are dropped,
/// line-breaking elements (br, p, div, tr, li, headings, ...) end lines, runs of blanks collapse
/// as a browser shows them (not inside pre), entities are decoded, and the contents of script,
/// style, head and comments are left out.
std::string HtmlToText(std::string_view html);

/// The character a named or numeric entity stands for ("amp", "#233", "#xE9"), as UTF-8; empty
/// when the name is unknown.
std::string DecodeHtmlEntity(std::string_view entity);

} // namespace qb
