#pragma once

#include <string>

namespace qb {

/// Reads saved MIME messages (.eml files).
class MimeReader {
  public:
    virtual ~MimeReader() = default;
    /// The decoded text of the first text/plain part that is not an attachment; else the first
    /// text/html part turned into plain text; converted to UTF-8. Throws Failure when the file
    /// cannot be read.
    virtual std::string textBody(const std::string &path) = 0;
};

} // namespace qb
