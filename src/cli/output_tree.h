#pragma once

#include "cli/output_folder.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qb::cli {

/// Where the folders of the mail go in the output.
enum class FolderLayout {
    /// DIR/<store file>/<folder>/<subfolder>/...
    Tree,
    /// Everything into DIR itself.
    Flat,
};

/// The output folder DIR and the folders made in it for the mail's folders. Every folder is made
/// inside its parent by name, never through a link (see files::Folder), so nothing is written
/// outside DIR; each name is made safe (SafeName). A folder is listed once in the run and kept
/// open to its end, so that its names stay counted however often the run comes back to it.
class OutputTree {
  public:
    /// Creates DIR when missing and proves it writable by creating a file in it; throws Failure
    /// when it cannot.
    OutputTree(const std::string &root, EarlierFiles earlier, FolderLayout layout);

    const std::string &rootPath() const;
    /// DIR itself, where files outside the tree (AllEmails.txt) go.
    std::shared_ptr<OutputFolder> root() { return root_; }
    /// The file system DIR lies on, for one sync of everything written.
    files::Folder &rootFolder() { return *rootFolder_; }

    /// The folder that holds the files of the mail folder at path (the store's file name first,
    /// then the folders below the top of personal folders); DIR itself for the flat layout.
    std::shared_ptr<OutputFolder> filesFolder(const std::vector<std::string> &path);
    /// The folder that holds the file named after the mail folder at path: its parent's (for the
    /// flat layout, DIR). The name is the folder's own, made safe, or "mail" for an empty path.
    std::shared_ptr<OutputFolder> parentFolder(const std::vector<std::string> &path,
                                               std::string &name);
    /// The Maildir of the mail folder at path, with its cur/, new/ and tmp/: names in cur/,
    /// files staged in tmp/.
    std::shared_ptr<OutputFolder> maildir(const std::vector<std::string> &path);
    /// A folder of its own inside parent, not counted with the tree's folders (attachments beside
    /// a text file). Throws Failure.
    std::shared_ptr<OutputFolder> subfolder(OutputFolder &parent, const std::string &name);

  private:
    /// The folder at a path of safe names, made when missing.
    std::shared_ptr<files::Folder> openFolder(const std::vector<std::string> &path);

    EarlierFiles earlier_;
    FolderLayout layout_;
    std::shared_ptr<files::Folder> rootFolder_;
    std::shared_ptr<OutputFolder> root_;
    std::map<std::vector<std::string>, std::shared_ptr<files::Folder>> folders_;
    std::map<std::vector<std::string>, std::shared_ptr<OutputFolder>> filesFolders_;
    std::map<std::vector<std::string>, std::shared_ptr<OutputFolder>> maildirs_;
};

} // namespace qb::cli
