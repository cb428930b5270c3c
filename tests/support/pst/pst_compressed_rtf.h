#pragma once

#include "support/pst/pst_bytes.h"

#include <string_view>

namespace qb::pstmaker {

/// RTF compressed the way Outlook stores PR_RTF_COMPRESSED: the LZFu format, with its header
/// (sizes, "LZFu", CRC of the compressed bytes) and an end reference after the last token.
Bytes CompressRtf(std::string_view rtf);

} // namespace qb::pstmaker
