#pragma once

#include <string>

namespace qb {

/// Writes the bytes to the file at path, replacing it; throws Failure with the system's
/// description when the file cannot be written.
void WriteWholeFile(const std::string &path, const std::string &bytes);

} // namespace qb
