#include "app/main_module.h"

#include "failure/failure.h"

namespace qb {

std::string SetApplicationTitle(const std::string &product) {
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

} // namespace qb

namespace qb {
namespace {

bool isUtf8Text(const std::string &bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == 0)
            return false;
        const int length = c < 0x80         ? 1
                           : (c >> 5) == 6  ? 2
                           : (c >> 4) == 14 ? 3
                           : (c >> 3) == 30 ? 4
                                            : 0;
        if (length == 0 || i + static_cast<std::size_t>(length) > bytes.size())
            return false;
        for (int k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]) >> 6) != 2)
                return false;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

} // namespace

std::string LoadSkinFile(FileSystem &files, const std::string &path) {
    std::string styleSheet = files.readAll(path);
    if (!isUtf8Text(styleSheet))
        throw Failure(error_number::invalidProcedureCall, "SkinFramework",
                      "The skin file " + path + " is damaged.");
    return styleSheet;
}

} // namespace qb
