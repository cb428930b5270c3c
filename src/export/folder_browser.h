#pragma once

#include "failure/guard.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/file_dialogs.h"
#include "platform/settings_store.h"

#include <string>

namespace qb::exporting {

/// Setting that remembers the folder chosen last, shared by both windows.
inline constexpr const char *lastFolderSetting = "LastFolderDot";

/// What choosing an output folder uses: the picker, the store that remembers the folder chosen
/// last, and the reporter of the failures.
struct FolderChoiceFacilities {
    FolderPicker &picker;
    SettingsStore &settings;
    FailureReporter &reporter;
};

/// Opens the folder picker over owner on startFolder; the chosen folder (without a final "/"
/// unless it is the root), or the empty text on Cancel. Picker failures reach the caller.
std::string BrowseForFolder(FolderPicker &picker, WindowModel &owner, const std::string &prompt,
                            const std::string &startFolder);

/// The "..." button beside an output folder box: picks a folder starting at "LastFolderDot",
/// remembers the choice there and puts it into the box with a final "/". Cancel changes
/// nothing. Guarded under object.procedure, the window's own name for its button
/// ("Form1.PushButton9_Click", "Form2.PushButton8_Click").
void chooseOutputFolder(const FolderChoiceFacilities &facilities, WindowModel &window,
                        TextBox &folderBox, const std::string &object,
                        const std::string &procedure);

} // namespace qb::exporting
