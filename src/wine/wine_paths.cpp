#include "wine/wine_paths.h"

#include "text/plain_text.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace qb {
namespace {

bool exists(const std::string &path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

/// The names of a Windows path after the drive, with "." and ".." resolved.
std::vector<std::string> windowsNames(std::string_view rest) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find_first_of("\\/", start);
        if (end == std::string_view::npos)
            end = rest.size();
        const std::string_view name = rest.substr(start, end - start);
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        start = end + 1;
    }
    return names;
}

/// The entry of the folder whose name equals name but for letter case; name when none does.
std::string nameInFolder(const std::string &folder, const std::string &name) {
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string entry = it->path().filename().string();
        if (EqualIgnoringCase(entry, name))
            return entry;
    }
    return name;
}

} // namespace

std::string WinePrefix() {
    if (const char *prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0')
        return prefix;
    const char *home = std::getenv("HOME");
    return home != nullptr && *home != '\0' ? std::string(home) + "/.wine" : std::string();
}

bool HasDriveLetter(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

std::string WineHostPath(const std::string &prefix, std::string_view path) {
    if (!HasDriveLetter(path))
        return std::string(path);
    const char drive = LowerCase(std::string(1, path[0]))[0];
    std::string host = prefix + "/dosdevices/" + drive + ":";
    // Once a folder is missing nothing below it can exist: the rest is taken as written.
    bool folderExists = true;
    for (const std::string &name : windowsNames(path.substr(2))) {
        std::string exact = host + "/" + name;
        if (folderExists && !exists(exact)) {
            exact = host + "/" + nameInFolder(host, name);
            folderExists = exists(exact);
        }
        host = std::move(exact);
    }
    return host;
}

std::string WineShortPathName(const std::string &prefix, std::string_view path) {
    const std::string host = WineHostPath(prefix, path);
    return !host.empty() && exists(host) ? host : std::string();
}

} // namespace qb
