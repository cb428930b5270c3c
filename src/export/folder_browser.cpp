#include "export/folder_browser.h"

namespace qb::exporting {

std::string BrowseForFolder(FolderPicker &picker, WindowModel &owner, const std::string &prompt,
                            const std::string &startFolder) {
    return picker.browse(owner, prompt, startFolder);
}

void chooseOutputFolder(const FolderChoiceFacilities &facilities, WindowModel &window,
                        TextBox &folderBox, const std::string &object,
                        const std::string &procedure) {
    Guard guard(facilities.reporter, object, procedure);
    std::string lastFolder;
    std::string chosen;
    guard.step(100, [&] { lastFolder = facilities.settings.read(lastFolderSetting, ""); });
    guard.step(100, [&] {
        chosen = BrowseForFolder(facilities.picker, window, "Please select folder:", lastFolder);
    });
    if (guard.test(102, [&] { return chosen.empty(); }))
        return;
    guard.step(104, [&] { facilities.settings.write(lastFolderSetting, chosen); });
    // The downloads use the box as a plain prefix of their paths, so it must end with "/".
    if (guard.test(104, [&] { return !chosen.ends_with('/'); }))
        guard.step(106, [&] { folderBox.setText(chosen + "/"); });
    else
        guard.step(108, [&] { folderBox.setText(chosen); });
}

} // namespace qb::exporting
