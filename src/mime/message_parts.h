#pragma once

#include "mime/message_text.h"

#include <gmime/gmime.h>

#include <optional>
#include <string>

// The part of the message reading that works on GMime streams, shared by the readers of files and
// of messages in memory.
namespace qb {

/// The text of the message on the stream, or nothing when GMime refuses it. A RawBody result
/// carries no text: only the caller has the message's bytes. name is what failures call the
/// message (a file path, or empty). Throws Failure when a part cannot be decoded.
std::optional<MessageText> ReadParsedText(GMimeStream *stream, const std::string &name);

/// The text as UTF-8: unchanged when it is valid UTF-8 already, else read in the 8-bit charset
/// GMime finds likeliest; every NUL byte becomes U+FFFD.
std::string AsUtf8(std::string_view text);

} // namespace qb
