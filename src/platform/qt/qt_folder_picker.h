#pragma once

#include "platform/file_dialogs.h"
#include "platform/special_folders.h"

#include <QString>

namespace qb {

/// The folder picker as Qt's directory dialog, showing folders only. It opens on the start
/// folder when that exists, else on the Desktop folder, the picker's root.
class QtFolderPicker : public FolderPicker {
  public:
    explicit QtFolderPicker(SpecialFolders &folders) : folders_(folders) {}

    std::string browse(WindowModel &owner, const std::string &prompt,
                       const std::string &startFolder) override;

  private:
    QString openingFolder(const QString &startFolder);

    SpecialFolders &folders_;
};

} // namespace qb
