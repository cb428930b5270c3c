#include "pst/pff_profile.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>

namespace qb {

bool IsDataFileName(const std::string &name) {
    if (name.size() < 5) // at least one character before the extension
        return false;
    const char *extension = name.c_str() + name.size() - 4;
    return strcasecmp(extension, ".pst") == 0 || strcasecmp(extension, ".ost") == 0;
}

std::vector<std::string> ProfileStorePaths(const std::string &profileFolder) {
    std::vector<std::string> names;
    std::error_code error;
    std::filesystem::directory_iterator entries(profileFolder, error);
    if (error)
        return {};
    for (const auto &entry : entries) {
        const std::string name = entry.path().filename().string();
        std::error_code typeError;
        if (name.front() != '.' && IsDataFileName(name) && entry.is_regular_file(typeError))
            names.push_back(name);
    }
    // Name order as a file manager shows it: letter case only breaks ties.
    std::sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        const int folded = strcasecmp(a.c_str(), b.c_str());
        return folded != 0 ? folded < 0 : a < b;
    });
    std::vector<std::string> paths;
    for (const std::string &name : names)
        paths.push_back((std::filesystem::path(profileFolder) / name).string());
    return paths;
}

} // namespace qb
