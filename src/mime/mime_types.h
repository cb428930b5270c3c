#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qb::mime {

/// The MIME type ("type/subtype") an attachment's file is written as: the stored type when it
/// has that form and names no multipart or message (whose parts may not be base64), else the
/// type of the file name's extension, else application/octet-stream. Never fails.
std::string AttachmentMimeType(const std::optional<std::string> &stored, std::string_view fileName);

} // namespace qb::mime
