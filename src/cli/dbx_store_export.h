#pragma once

#include "cli/export_scope.h"

#include <string>

namespace qb::cli {

/// Writes every message of one Outlook Express mailbox as the Outlook Express window's record
/// (From, To, Subject and Date header values, then the text body). The mailbox is turned into
/// .eml files by the converter (converterPath) in a private temporary folder, which is removed
/// again. The mailbox's name without ".dbx" is the messages' folder. Failures of the converter,
/// of the mailbox and of single messages are reported and passed over.
void ExportDbxStore(const std::string &path, const std::string &converterPath,
                    ExportTarget &target);

} // namespace qb::cli
