#pragma once

#include "platform/controls/window_model.h"
#include "platform/platform.h"

#include <string>

// Routines of the program's main module shared by both windows.
namespace qb {

/// The product name: caption of both windows and the settings section.
inline constexpr const char *productName = "Quillbarrow";

/// Drops the last word (and the blank before it) at least once, and again while the rest is
/// longer than 40 characters. A name without a blank is the title itself.
std::string SetApplicationTitle(const std::string &product);

/// The special folder's path as the shell writes it into a 512-character buffer: the path, a
/// NUL, and blanks to the end; the empty text when the number cannot be resolved.
std::string SpecialFolderPath(SpecialFolders &folders, int folderNumber);

/// The Desktop folder followed by "/". Throws Failure 5 when the Desktop cannot be resolved.
std::string DesktopFolder(SpecialFolders &folders);

/// Gives the window and its option buttons and frames the button-face background.
void ApplyFormColours(WindowModel &window);

} // namespace qb

namespace qb {

/// Reads a skin file: a style sheet in UTF-8 text. Throws Failure when the file cannot be read
/// or is not text (a damaged skin).
std::string LoadSkinFile(FileSystem &files, const std::string &path);

} // namespace qb
