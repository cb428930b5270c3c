#pragma once

#include "files/staged_file.h"

#include <string>
#include <string_view>

// Single files written whole: what the window saves.
namespace qb::files {

/// Writes the file at path with the bytes, whole or not at all: they go into a staged file in the
/// same folder, which is synced and then renamed to path; then the folder is synced, so that the
/// name survives a crash. With Placement::Replace an old file is replaced (a link at path is
/// replaced, never followed) and a regular file its owner may not write is refused (EACCES), as
/// an ordinary write would refuse it: the rename needs only the folder's permission and would
/// otherwise pass over it. Returns false only when Placement::KeepExisting finds path taken.
/// On failure nothing new remains and an old file is as it was; throws Failure naming path.
bool WriteWholeFile(const std::string &path, std::string_view bytes, Placement placement);

/// Appends the bytes to the file at path in place, creating it (as WriteWholeFile does) when it
/// is missing. When the write fails part-way the file is cut back to its old length, so it holds
/// what it held before. A link at path is refused, not followed, and so is a regular file its
/// owner may not write. The old bytes are never rewritten, so the work grows with the bytes
/// added only. Throws Failure naming path.
void AppendWhole(const std::string &path, std::string_view bytes);

} // namespace qb::files
