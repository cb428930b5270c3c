#pragma once

#include <string>
#include <string_view>

namespace qb {

/// Plain text of an RTF document (UTF-8 out, "\n" line ends): paragraphs and line breaks end
/// lines, \'hh bytes are read in the document's ANSI code page (\ansicpg) and \uN characters
/// as Unicode; font tables, pictures and other hidden destinations are left out. A body that
/// Outlook encapsulated from HTML (\fromhtml) gives the text of that HTML.
std::string RtfToText(std::string_view rtf);

} // namespace qb
