#include "outlook/attached_store.h"

#include <algorithm>
#include <filesystem>

namespace qb::outlook {
namespace {

std::string CanonicalPath(const std::string &path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(path, error);
    if (error)
        return std::filesystem::path(path).lexically_normal().string();
    return canonical.string();
}

bool Contains(const std::vector<std::string> &paths, const std::string &path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}

} // namespace

std::vector<std::string> RootStoreFiles(Namespace &mapi) {
    const auto roots = mapi.folders();
    const int count = roots->count();
    std::vector<std::string> files;
    for (int i = 1; i <= count; ++i)
        files.push_back(CanonicalPath(roots->storeFilePath(i)));
    return files;
}

AttachedRoot FindAttachedRoot(Namespace &mapi, const std::string &filePath,
                              const std::optional<std::vector<std::string>> &storesBefore) {
    const std::string wanted = CanonicalPath(filePath);
    const auto roots = mapi.folders();
    const int count = roots->count();
    const auto isNew = [&](const std::string &path) {
        return storesBefore && !Contains(*storesBefore, path);
    };
    // Only the root that is chosen is read: the other stores may be damaged or slow to open.
    int onlyNewRoot = 0;
    int newRoots = 0;
    for (int i = 1; i <= count; ++i) {
        const std::string path = CanonicalPath(roots->storeFilePath(i));
        if (path == wanted)
            return {roots->item(i), isNew(path)};
        if (isNew(path)) {
            onlyNewRoot = i;
            ++newRoots;
        }
    }
    // A store may report its file under a name of its own; one new root can only be the file.
    if (newRoots == 1)
        return {roots->item(onlyNewRoot), true};
    return {};
}

} // namespace qb::outlook
