#pragma once

#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/platform.h"

#include <string>

namespace qb::exporting {

/// Setting that remembers the folder chosen last, shared by both windows.
inline constexpr const char *lastFolderSetting = "LastFolderDot";

/// Opens the folder picker over owner on startFolder; the chosen folder (without a final "/"
/// unless it is the root), or the empty text on Cancel. Picker failures reach the caller.
std::string BrowseForFolder(Platform &platform, WindowModel &owner, const std::string &prompt,
                            const std::string &startFolder);

/// The "..." button beside an output folder box: picks a folder starting at "LastFolderDot",
/// remembers the choice there and puts it into the box with a final "/". Cancel changes
/// nothing. Guarded under object.procedure ("Form1.PushButton9_Click", "Form2.PushButton8_Click").
void BrowseOutputFolder(Platform &platform, WindowModel &window, TextBox &Text3,
                        const std::string &object, const std::string &procedure);

} // namespace qb::exporting
