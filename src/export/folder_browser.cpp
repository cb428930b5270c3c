#include "export/folder_browser.h"

namespace qb::exporting {

std::string BrowseForFolder(Platform &platform, WindowModel &owner, const std::string &prompt,
                            const std::string &startFolder) {
    return platform.folderPicker.browse(owner, prompt, startFolder);
}

void BrowseOutputFolder(Platform &platform, WindowModel &window, TextBox &Text3,
                        const std::string &object, const std::string &procedure) {
    Guard guard(platform.reporter, object, procedure);
    std::string lastFolder;
    std::string chosen;
    guard.step(100, [&] { lastFolder = platform.settings.read(lastFolderSetting, ""); });
    guard.step(100, [&] {
        chosen = BrowseForFolder(platform, window, "Please select folder:", lastFolder);
    });
    if (guard.test(102, [&] { return chosen.empty(); }))
        return;
    guard.step(104, [&] { platform.settings.write(lastFolderSetting, chosen); });
    // The downloads use the box as a plain prefix of their paths, so it must end with "/".
    if (guard.test(104, [&] { return !chosen.ends_with('/'); }))
        guard.step(106, [&] { Text3.setText(chosen + "/"); });
    else
        guard.step(108, [&] { Text3.setText(chosen); });
}

} // namespace qb::exporting
