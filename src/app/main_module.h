#pragma once

#include "app/settings.h"
#include "export/folder_browser.h"
#include "failure/guard.h"
#include "platform/controls/window_model.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/special_folders.h"

#include <string>

// Routines of the program's main module shared by both windows.
namespace qb {

/// The product name: caption of both windows and the settings section.
inline constexpr const char *productName = "Quillbarrow";

/// The application title made of a product name: the name with its last word (and the blank
/// before it) dropped at least once, and again while the rest is longer than 40 characters. A
/// name without a blank is the title itself.
std::string ApplicationTitleOf(const std::string &product);

/// The special folder's path as the shell writes it into a 512-character buffer: the path, a
/// NUL, and blanks to the end; the empty text when the number cannot be resolved.
std::string SpecialFolderPath(SpecialFolders &folders, int folderNumber);

/// The Desktop folder followed by "/". Throws Failure 5 when the Desktop cannot be resolved.
std::string DesktopFolder(SpecialFolders &folders);

/// Gives the window and its option buttons and frames the button-face background.
void ApplyFormColours(WindowModel &window);

/// Keeps the window's size and position between runs in the setting named after the window
/// ("Form1 Geometry").
void KeepWindowPlacement(WindowModel &window, Settings &settings);

/// What the "..." button beside either window's output folder uses, from the program's
/// facilities.
exporting::FolderChoiceFacilities FolderChoiceOf(Platform &platform);

/// Where the windows find the hand pointer: the files that may hold the cursor file, the host
/// that loads it, and the program folder (without a final "/") that holds "HAND-M.CUR".
struct HandPointerSource {
    FileSystem &files;
    WindowHost &windows;
    const std::string &programFolder;
};

/// Makes the cursor file beside the program the window's hand pointer, as steps 106 (is the file
/// there?) and 108 (load it) of the window's loading under its guard. Without the file the hand
/// stays the arrow and nothing is reported; a damaged file is reported at line 108.
void LoadHandPointer(Guard &guard, WindowModel &window, const HandPointerSource &source);

/// Sets the hand pointer, or the default one, unless the busy pointer shows.
void ShowHandPointer(WindowModel &window);
void ShowDefaultPointer(WindowModel &window);

/// Shares for controls that follow a larger window: along its full width, at its right edge,
/// and below the list that takes the extra height (whole width, or the left or right half).
inline constexpr Growth spansWidth{0, 0, 1, 0};
inline constexpr Growth leftHalfOfWidth{0, 0, 0.5, 0};
inline constexpr Growth rightHalfOfWidth{0.5, 0, 1, 0};
inline constexpr Growth followsRightEdge{1, 0, 1, 0};
inline constexpr Growth takesExtraHeight{0, 0, 1, 1};
inline constexpr Growth belowList{0, 1, 1, 1};
inline constexpr Growth belowListLeftHalf{0, 1, 0.5, 1};
inline constexpr Growth belowListRightHalf{0.5, 1, 1, 1};

/// Reads a skin file: a style sheet in UTF-8 text. Throws Failure when the file cannot be read
/// or is not text (a damaged skin).
std::string LoadSkinFile(FileSystem &files, const std::string &path);

} // namespace qb
