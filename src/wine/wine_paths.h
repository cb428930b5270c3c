#pragma once

#include <string>
#include <string_view>

namespace qb {

/// The user's Wine prefix: $WINEPREFIX, else $HOME/.wine; empty when neither can be told.
std::string WinePrefix();

/// True when the path begins with a drive letter and a colon, as "C:\users" does.
bool HasDriveLetter(std::string_view path);

/// The host path of a Windows path that begins with a drive letter: the drive maps through
/// prefix/dosdevices/<letter>:, "\" (and "/") separate names, "." and ".." are resolved, and a
/// name missing as written is matched without regard to letter case, as Wine does. Names that
/// match nothing stay as written. Any other path comes back unchanged.
std::string WineHostPath(const std::string &prefix, std::string_view path);

/// GetShortPathNameA on Wine: the host path of an existing file or folder (after the mapping
/// above), or the empty text when there is none.
std::string WineShortPathName(const std::string &prefix, std::string_view path);

} // namespace qb
