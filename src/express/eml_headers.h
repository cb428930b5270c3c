#pragma once

#include "platform/file_system.h"

#include <string>
#include <string_view>

// The simple line scan that picks header values out of a raw .eml file.
namespace qb::express {

/// The value of the first line that begins with exactly name + ":" (letter case counts, no blank
/// before the colon), with blanks (not tabs) trimmed from both ends; the empty text when no line
/// does. Lines end only at CR LF, and the scan runs on into the body.
std::string GetHeaderValue(std::string_view text, std::string_view name);

/// The whole file as raw bytes, undecoded. Failures to read reach the caller.
std::string ReadWholeFile(FileSystem &files, const std::string &path);

} // namespace qb::express
