#pragma once

#include <string>
#include <string_view>

// The text of a MIME message, read with GMime.
namespace qb {

/// Where a message's text was found.
enum class TextSource {
    /// The first text/plain part that is not an attachment, decoded.
    PlainPart,
    /// Else the first such text/html part, turned into plain text.
    HtmlPart,
    /// The message holds no text part at all; the text is empty.
    NoTextPart,
    /// The parts nest deeper than GMime follows, so the text part cannot be found: the body
    /// after the header lines, undecoded, is the text.
    RawBody,
    /// GMime refuses the message (its first line is no header, or a folded line comes first):
    /// the whole message is the text, as plain text.
    WholeMessage,
};

/// A message's text: UTF-8 with CR LF line ends, where a NUL byte is written as U+FFFD (the
/// replacement character), so that nothing after it is lost.
struct MessageText {
    std::string text;
    TextSource source = TextSource::NoTextPart;
};

/// The text of the message held in message. Transfer encodings are undone and text is converted
/// from its declared charset; text without a usable charset that is not UTF-8 already is taken
/// for the 8-bit charset GMime finds likeliest. A message GMime cannot read as MIME still gives
/// its text (see TextSource). Throws Failure when a part's content cannot be decoded.
MessageText ReadMessageText(std::string_view message);

} // namespace qb
