#pragma once

#include "cli/export_scope.h"

#include <string>

namespace qb::cli {

/// Writes every mail message of one Outlook data file, walked as the window lists a store:
/// below the top of personal folders, each folder's subfolders before its own messages, mail
/// messages (class 43) only, nothing under "Internet Newsgroups" or "All Public Folders". Each
/// text is the one the window's download saves. The store is opened for this call only and
/// closed before it returns. A store, folder or message that fails is reported and passed over.
void ExportOutlookStore(const std::string &path, ExportTarget &target);

} // namespace qb::cli
