#pragma once

#include "platform/file_dialogs.h"

namespace qb {

/// The folder picker as Qt's directory dialog, showing folders only.
class QtFolderPicker : public FolderPicker {
  public:
    std::string browse(WindowModel &owner, const std::string &prompt,
                       const std::string &startFolder) override;
};

} // namespace qb
