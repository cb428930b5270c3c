#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qb {

/// Plain text of an RTF document (UTF-8 out, "\n" line ends): paragraphs and line breaks end
/// lines, \'hh bytes are read in the code page of the current font's character set, else in the
/// document's ANSI code page (\ansicpg), and \uN characters as Unicode; font tables, pictures
/// and other hidden destinations are left out. A body that Outlook encapsulated from HTML
/// (\fromhtml) gives the text of that HTML.
std::string RtfToText(std::string_view rtf);

/// The HTML document that an RTF body encapsulates (\fromhtml), as UTF-8: the markup kept in
/// the \*\htmltag groups and the text between them, without what \htmlrtf marks as written
/// for RTF readers only. Inside the markup, \par is a CR LF, \tab a tab, \'hh a byte of the
/// document's code page and \uN a character; other control words stand for nothing. Nothing
/// when the document encapsulates no HTML. Never fails.
std::optional<std::string> EncapsulatedHtml(std::string_view rtf);

} // namespace qb
