#pragma once

#include <string>
#include <vector>

namespace qb {

/// The data files of the mail profile: every file directly inside the folder whose name ends in
/// ".pst" or ".ost" in any letter case, hidden files (names beginning with ".") left out, in
/// name order. A missing or unreadable folder is a profile without stores.
std::vector<std::string> ProfileStorePaths(const std::string &profileFolder);

/// True when the name ends in ".pst" or ".ost", compared without regard to case.
bool IsDataFileName(const std::string &name);

} // namespace qb
