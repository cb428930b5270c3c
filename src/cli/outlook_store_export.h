#pragma once

#include "cli/export_scope.h"
#include "platform/outlook_api.h"

#include <memory>
#include <string>

namespace qb::cli {

/// Writes every mail message of one Outlook data file through the folder walk the window lists
/// with (mail::MailWalk), in the command line's scope: the messages lying in the store's top
/// folder are written too, after all the others, and only those of the target's folder when it
/// names one. Each message goes to the target's output with its folder path (the store's file
/// name, then its folders), to be written in the run's format; the text format writes the shared
/// rendering the window's download saves. Every failure is named by the file, the folder path and
/// the message, and the walk goes on; it ends after the current message once the target's
/// stopRequested says so. The store is opened for this call only and closed before it returns.
void ExportOutlookStore(const std::string &path, ExportTarget &target);

/// The same for a store already open, whose top of personal folders is top; file names the
/// store in failures.
void ExportStoreFolders(const std::shared_ptr<outlook::Folder> &top, const std::string &file,
                        ExportTarget &target);

} // namespace qb::cli
