#pragma once

#include <string>

namespace qb {

/// What a file-open or file-save dialog is asked to show.
struct FileDialogRequest {
    std::string title;
    /// Filter in the "Description|pattern|Description|pattern|" form.
    std::string filter;
    std::string fileName;
    std::string initialFolder;
    bool multiSelect = false;
};

/// Common file dialogs.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    /// Returns the chosen path, or the empty text on Cancel. With multiSelect the answer is one
    /// full path, or the folder followed by the names, each of them after a NUL. Throws Failure
    /// 20476 when the names do not fit into the dialog's 64 KiB name buffer.
    virtual std::string open(const FileDialogRequest &request) = 0;
    /// Returns the chosen path, or the empty text on Cancel.
    virtual std::string save(const FileDialogRequest &request) = 0;
};

class WindowModel;

/// The folder picker: file-system folders only.
class FolderPicker {
  public:
    virtual ~FolderPicker() = default;
    /// Opens over owner on startFolder when it exists; returns the chosen folder without a final
    /// "/" (except the root "/"), or the empty text on Cancel.
    virtual std::string browse(WindowModel &owner, const std::string &prompt,
                               const std::string &startFolder) = 0;
};

} // namespace qb
