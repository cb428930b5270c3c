#include "app/main_module.h"

#include "export/file_utilities.h"
#include "failure/failure.h"
#include "text/codepage.h"

namespace qb {

std::string ApplicationTitleOf(const std::string &product) {
    std::string title = product;
    do {
        const std::size_t blank = title.rfind(' ');
        if (blank == std::string::npos)
            break;
        title.erase(blank);
    } while (title.size() > 40);
    return title;
}

std::string SpecialFolderPath(SpecialFolders &folders, int folderNumber) {
    constexpr std::size_t bufferLength = 512;
    std::string path = folders.path(folderNumber);
    if (path.empty() || path.size() >= bufferLength)
        return std::string();
    path.push_back('\0');
    path.resize(bufferLength, ' ');
    return path;
}

std::string DesktopFolder(SpecialFolders &folders) {
    const std::string buffer = SpecialFolderPath(folders, desktopFolderNumber);
    const std::size_t nul = buffer.rfind('\0');
    if (nul == std::string::npos)
        throw Failure(error_number::invalidProcedureCall, programSource,
                      "Invalid procedure call or argument");
    return buffer.substr(0, nul) + "/";
}

void ApplyFormColours(WindowModel &window) {
    window.setBackColour(BackColour::ButtonFace);
    for (Control *control : window.controls())
        if (control->kind() == ControlKind::OptionButton || control->kind() == ControlKind::Frame)
            control->setBackColour(BackColour::ButtonFace);
}

void KeepWindowPlacement(WindowModel &window, Settings &settings) {
    const std::string key = window.name() + " Geometry";
    window.readPlacement = [&settings, key] { return settings.text(key); };
    window.writePlacement = [&settings, key](const std::string &placement) {
        settings.write(key, placement);
    };
}

exporting::FolderChoiceFacilities FolderChoiceOf(Platform &platform) {
    return {platform.folderPicker, platform.settings, platform.reporter};
}

void LoadHandPointer(Guard &guard, WindowModel &window, const HandPointerSource &source) {
    const std::string cursorPath = source.programFolder + "/HAND-M.CUR";
    if (guard.test(106, [&] { return exporting::FileExists(source.files, cursorPath); }))
        guard.step(108, [&] { window.setCustomPointer(source.windows.loadPointer(cursorPath)); });
}

void ShowHandPointer(WindowModel &window) {
    if (window.pointer() != MousePointer::Busy)
        window.setPointer(MousePointer::Custom);
}

void ShowDefaultPointer(WindowModel &window) {
    if (window.pointer() != MousePointer::Busy)
        window.setPointer(MousePointer::Default);
}

std::string LoadSkinFile(FileSystem &files, const std::string &path) {
    std::string styleSheet = files.readAll(path);
    // A style sheet is text: a NUL byte or a broken character means the file is damaged.
    if (styleSheet.find('\0') != std::string::npos || !IsValidUtf8(styleSheet))
        throw Failure(error_number::invalidProcedureCall, "SkinFramework",
                      "The skin file " + path + " is damaged.");
    return styleSheet;
}

} // namespace qb
