#pragma once

#include "mail/message.h"
#include "mime/eml_builder.h"
#include "mime/gmime_objects.h"

#include <gmime/gmime.h>

#include <string>
#include <vector>

// .eml messages written by WriteEml and read back with GMime, as another mail program would.
namespace qb::test {

/// The bytes WriteEml writes for the message; its problems go to problems.
std::string WrittenEml(mail::Message &message, std::vector<mime::EmlProblem> &problems);

/// A message parsed by GMime, and what the tests ask of it.
class ReadBack {
  public:
    /// Fails the test when GMime does not read the text as a message.
    explicit ReadBack(const std::string &eml);
    /// A message of a message/rfc822 part of another.
    explicit ReadBack(GMimeMessage *message);
    ReadBack(const ReadBack &other) : ReadBack(other.message()) {}
    ReadBack &operator=(const ReadBack &other) {
        message_.reset(other.message() ? GMIME_MESSAGE(g_object_ref(other.message())) : nullptr);
        return *this;
    }

    GMimeMessage *message() const { return message_.get(); }
    /// The field's value with encoded words decoded; empty when the message has no such field.
    std::string field(const char *name) const;
    /// The addresses of From, To, Cc or Bcc as GMime writes them for a person: "Name <address>".
    std::string addresses(GMimeAddressType type) const;
    /// The tree of parts: "type/subtype" for a leaf, "multipart/x[child,child]" for a
    /// multipart, and "message/rfc822[...]" with the tree of the attached message.
    std::string shape() const;
    /// The leaf parts of this message, attached messages not looked into, in document order;
    /// they live as long as this ReadBack.
    std::vector<GMimeObject *> leaves() const;
    /// The attached messages of the message/rfc822 parts of this message, in document order.
    std::vector<ReadBack> attachedMessages() const;

  private:
    GObjectPtr<GMimeMessage> message_;
};

/// The content of a leaf part with its transfer encoding undone.
std::string ContentOf(GMimeObject *part);
/// The file name of a part, decoded (RFC 2231 or encoded words); empty when it has none.
std::string FileNameOf(GMimeObject *part);
/// "type/subtype" of a part.
std::string TypeOf(GMimeObject *part);

} // namespace qb::test
