#pragma once

#include "platform/file_dialogs.h"

namespace qb {

/// Open and save dialogs as Qt file dialogs. A request without a folder opens in the home folder.
class QtFileDialogs : public FileDialogs {
  public:
    std::string open(const FileDialogRequest &request) override;
    /// Never asks about replacing a file: the program asks that itself where it matters.
    std::string save(const FileDialogRequest &request) override;
};

} // namespace qb
