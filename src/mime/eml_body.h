#pragma once

#include "mail/message.h"
#include "mime/gmime_objects.h"
#include "mime/part_reader.h"

#include <gmime/gmime.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace qb::mime {

/// The bodies of a message as its .eml shows them, as UTF-8.
struct MessageBodies {
    std::string plain;
    std::optional<std::string> html;
};

/// The plain text and the HTML of a message. The HTML is the stored HTML body, else the HTML its
/// RTF body encapsulates; HTML in a code page that is not known is read as windows-1252, a
/// problem. The plain text is the stored plain-text body when it is not empty, else the HTML
/// turned into text, else the RTF body turned into text. The RTF body is read only when one of
/// the others is missing. What cannot be read is a problem of the reader.
MessageBodies ReadBodies(mail::Message &message, PartReader &reader);

/// The Content-IDs that an HTML document refers to by cid: URLs, in any attribute or style.
std::set<std::string> ReferencedContentIds(std::string_view html);

/// A text/<subtype> part holding text, which it keeps without a copy: UTF-8 (anything else is
/// made so), line ends written as CR LF, in the transfer encoding that suits it.
GObjectPtr<GMimeObject> TextPart(const char *subtype, std::string text);

} // namespace qb::mime
