#pragma once

#include "platform/special_folders.h"

#include <string>

namespace qb {

/// Special folders by the XDG user directories: the entries of $XDG_CONFIG_HOME/user-dirs.dirs
/// (default $HOME/.config), else the usual folders under $HOME. A folder is named whether or not
/// it exists; without $HOME nothing can be named.
class XdgSpecialFolders : public SpecialFolders {
  public:
    /// Folder 0, the Desktop; every other number is unknown.
    std::string path(int folderNumber) override;
    std::string documents() override;
};

/// The folder of the user's configuration files: $XDG_CONFIG_HOME, else $HOME/.config. Named
/// whether or not it exists.
std::string XdgConfigFolder();

/// The program's work folder for the Outlook Express .eml files: $XDG_CACHE_HOME/Quillbarrow,
/// else $HOME/.cache/Quillbarrow; empty without either. Named whether or not it exists.
std::string XdgWorkFolder();

/// The folder an XDG user-directory entry (such as "XDG_DESKTOP_DIR") names in the text of a
/// user-dirs.dirs file, with "$HOME" expanded; empty when the entry is absent.
std::string UserDirsEntry(const std::string &userDirs, const std::string &entry,
                          const std::string &home);

} // namespace qb
