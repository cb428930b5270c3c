#pragma once

#include "mail/message.h"

#include <string>
#include <string_view>
#include <vector>

// An Outlook message from a mail store written as a whole MIME message: an .eml file.
namespace qb::mime {

/// Receives the bytes of a message being written, piece by piece.
class ByteSink {
  public:
    virtual ~ByteSink() = default;
    /// Takes the next bytes; throws Failure when it cannot keep them.
    virtual void write(std::string_view bytes) = 0;
};

/// A sink that keeps everything written to it in memory.
class StringSink : public ByteSink {
  public:
    void write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

/// Something of a message that could not be written as a part of it, and why.
struct EmlProblem {
    /// What of the message it is: "recipient table", "attachment 2 \"plan.pdf\"", and for a part
    /// of an attached message the attachment that holds it first: "attachment 3 \"Fwd\" >
    /// attachment 1 \"notes.txt\"".
    std::string part;
    std::string why;
    friend bool operator==(const EmlProblem &, const EmlProblem &) = default;
};

/// Writes the message as RFC 5322 text with CR LF line ends to out, streaming attachment data, so
/// that an attachment is never held whole in memory. What cannot be written (an OLE object, a
/// reference, unreadable data, a loop of attached messages, an unreadable recipient table, ...)
/// is left out and added to problems. Throws Failure only when the message itself cannot be read
/// (no part of it can) or out fails.
///
/// The header fields are those the message arrived with, when the store kept them, without the
/// fields that describe the MIME structure (MIME-Version, Content-*), which describe the body
/// written here; else they are built from the store: From, To, Cc, Bcc, Subject, Date, Message-ID,
/// In-Reply-To and References, non-ASCII text in UTF-8 encoded words. The body is the plain text
/// and, where the message has HTML (stored, or encapsulated in its RTF body), the HTML beside it
/// in multipart/alternative, with the pictures the HTML shows by Content-ID in multipart/related;
/// every other attachment follows in multipart/mixed, files in base64 under their names, attached
/// messages as message/rfc822 parts built the same way.
void WriteEml(mail::Message &message, ByteSink &out, std::vector<EmlProblem> &problems);

} // namespace qb::mime
