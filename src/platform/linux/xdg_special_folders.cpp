#include "platform/linux/xdg_special_folders.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace qb {
namespace {

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string userDirsText() {
    std::ifstream file(XdgConfigFolder() + "/user-dirs.dirs", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string unquoted(std::string value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

/// The user directory of the entry, or home + "/" + fallbackName.
std::string userFolder(const char *entry, const char *fallbackName) {
    const std::string home = environment("HOME");
    if (home.empty())
        return std::string();
    const std::string named = UserDirsEntry(userDirsText(), entry, home);
    return named.empty() ? home + "/" + fallbackName : named;
}

} // namespace

std::string UserDirsEntry(const std::string &userDirs, const std::string &entry,
                          const std::string &home) {
    std::istringstream lines(userDirs);
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#')
            continue;
        if (line.compare(start, entry.size() + 1, entry + "=") != 0)
            continue;
        std::string value = unquoted(line.substr(start + entry.size() + 1));
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        // Later lines win, as when the shell sources the file.
        found = value;
    }
    while (found.size() > 1 && found.back() == '/')
        found.pop_back();
    return found;
}

std::string XdgSpecialFolders::path(int folderNumber) {
    return folderNumber == desktopFolderNumber ? userFolder("XDG_DESKTOP_DIR", "Desktop")
                                               : std::string();
}

std::string XdgSpecialFolders::documents() {
    return userFolder("XDG_DOCUMENTS_DIR", "Documents");
}

std::string XdgConfigFolder() {
    const std::string configHome = environment("XDG_CONFIG_HOME");
    return configHome.empty() ? environment("HOME") + "/.config" : configHome;
}

std::string XdgWorkFolder() {
    std::string cacheHome = environment("XDG_CACHE_HOME");
    if (cacheHome.empty()) {
        const std::string home = environment("HOME");
        if (home.empty())
            return std::string();
        cacheHome = home + "/.cache";
    }
    return cacheHome + "/Quillbarrow";
}

} // namespace qb
