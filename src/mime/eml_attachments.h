#pragma once

#include "mail/message.h"
#include "mime/gmime_objects.h"
#include "mime/part_reader.h"

#include <gmime/gmime.h>

#include <optional>
#include <string>
#include <vector>

namespace qb::mime {

/// An attachment written as a part.
struct AttachmentPart {
    GObjectPtr<GMimeObject> part;
    /// The Content-ID of a file, by which an HTML body may show it.
    std::optional<std::string> contentId;
};

/// The parts of the message's attachments, in the store's order. A file becomes a part of its
/// MIME type with its name (long, else short, else display name) and its bytes in base64, read
/// while the part is written; an attached message becomes a message/rfc822 part built as the
/// message is, at depth + 1. What cannot be a part (an OLE object, a reference to a file kept
/// elsewhere, data or a message that cannot be read, messages nested deeper than
/// mail::maxNesting) is left out, a problem of the reader.
std::vector<AttachmentPart> AttachmentParts(mail::Message &message, PartReader &reader, int depth);

} // namespace qb::mime
