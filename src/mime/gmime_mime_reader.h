#pragma once

#include "mime/gmime_setup.h"
#include "platform/mime_reader.h"

namespace qb {

/// Reads .eml files with GMime 3, as ReadMessageText reads a message in memory, for the
/// window: a file GMime refuses is a failure, and a message whose parts nest too deep for its
/// text part to be found has the empty text.
class GmimeMimeReader : public MimeReader {
  public:
    std::string textBody(const std::string &path) override;
};

} // namespace qb
