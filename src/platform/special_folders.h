#pragma once

#include <string>

namespace qb {

/// Shell special folders, by the shell's folder number (0 is the Desktop).
class SpecialFolders {
  public:
    virtual ~SpecialFolders() = default;
    /// The folder's path, or the empty text when the number cannot be resolved.
    virtual std::string path(int folderNumber) = 0;
    /// The user's documents folder, or the empty text.
    virtual std::string documents() = 0;
};

inline constexpr int desktopFolderNumber = 0;

/// The folder whose .pst and .ost files make the user's mail profile: "Outlook Files" in the
/// documents folder.
inline std::string OutlookProfileFolder(SpecialFolders &folders) {
    return folders.documents() + "/Outlook Files";
}

} // namespace qb
