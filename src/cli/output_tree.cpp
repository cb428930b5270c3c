#include "cli/output_tree.h"

#include "cli/safe_names.h"
#include "failure/system_failure.h"

#include <filesystem>

namespace qb::cli {
namespace {

/// The path with each name made safe: two folders whose names differ only in what is made safe
/// share one output folder, and so its count of names.
std::vector<std::string> SafePath(const std::vector<std::string> &path) {
    std::vector<std::string> safe;
    safe.reserve(path.size());
    for (const std::string &name : path)
        safe.push_back(SafeName(name));
    return safe;
}

} // namespace

OutputTree::OutputTree(const std::string &root, EarlierFiles earlier, FolderLayout layout)
    : earlier_(earlier), layout_(layout) {
    std::error_code error;
    std::filesystem::create_directories(root, error);
    if (error)
        throw SystemFailure(error.value(), root);
    rootFolder_ = std::make_shared<files::Folder>(root);
    // Only a file really created proves the folder writable (read-only mounts, ACLs, quotas).
    files::StagedFile probe(*rootFolder_, root);
    root_ = std::make_shared<OutputFolder>(rootFolder_, earlier_, FileNaming::Numbered);
    folders_[{}] = rootFolder_;
}

const std::string &OutputTree::rootPath() const {
    return rootFolder_->path();
}

std::shared_ptr<files::Folder> OutputTree::openFolder(const std::vector<std::string> &path) {
    if (const auto found = folders_.find(path); found != folders_.end())
        return found->second;
    const std::vector<std::string> parentPath(path.begin(), path.end() - 1);
    const auto parent = openFolder(parentPath);
    auto folder = std::make_shared<files::Folder>(*parent, path.back());
    folders_[path] = folder;
    return folder;
}

std::shared_ptr<OutputFolder> OutputTree::filesFolder(const std::vector<std::string> &path) {
    if (layout_ == FolderLayout::Flat || path.empty())
        return root_;
    const std::vector<std::string> safe = SafePath(path);
    auto &slot = filesFolders_[safe];
    if (!slot)
        slot = std::make_shared<OutputFolder>(openFolder(safe), earlier_, FileNaming::Numbered);
    return slot;
}

std::shared_ptr<OutputFolder> OutputTree::parentFolder(const std::vector<std::string> &path,
                                                       std::string &name) {
    name = path.empty() ? "mail" : SafeName(path.back());
    if (layout_ == FolderLayout::Flat || path.size() <= 1)
        return root_;
    return filesFolder({path.begin(), path.end() - 1});
}

std::shared_ptr<OutputFolder> OutputTree::maildir(const std::vector<std::string> &path) {
    const std::vector<std::string> place =
        layout_ == FolderLayout::Flat ? std::vector<std::string>{} : SafePath(path);
    auto &slot = maildirs_[place];
    if (!slot) {
        const auto folder = openFolder(place);
        files::Folder fresh(*folder, "new");
        slot = std::make_shared<OutputFolder>(std::make_shared<files::Folder>(*folder, "cur"),
                                              earlier_, FileNaming::Maildir,
                                              std::make_shared<files::Folder>(*folder, "tmp"));
    }
    return slot;
}

std::shared_ptr<OutputFolder> OutputTree::subfolder(OutputFolder &parent, const std::string &name) {
    return std::make_shared<OutputFolder>(std::make_shared<files::Folder>(parent.folder(), name),
                                          earlier_, FileNaming::Numbered);
}

} // namespace qb::cli
