#pragma once

#include "platform/mime_reader.h"

namespace qb {

/// Reads .eml files with GMime 3. Transfer encodings are undone and text is converted from its
/// declared charset; text without a usable charset that is not UTF-8 already is taken for the
/// 8-bit charset GMime finds likeliest.
class GmimeMimeReader : public MimeReader {
  public:
    std::string textBody(const std::string &path) override;
};

/// Sets GMime up the first time it is called; every user of GMime calls it first.
void InitialiseGmimeOnce();

} // namespace qb
