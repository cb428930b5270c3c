#pragma once

#include <string>

namespace qb {

/// Reads saved MIME messages (.eml files).
class MimeReader {
  public:
    virtual ~MimeReader() = default;
    /// The message's plain-text body as UTF-8 with CR LF line ends: the decoded text of the first
    /// text/plain part that is not an attachment, else the first such text/html part turned into
    /// plain text, else the empty text. Throws Failure when the file cannot be read or is not a
    /// message at all.
    virtual std::string textBody(const std::string &path) = 0;
};

} // namespace qb
