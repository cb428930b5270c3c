#pragma once

#include "cli/export_scope.h"

#include <string>

namespace qb::cli {

/// Writes every message of one Outlook Express mailbox, read in this process (dbx::ReadMailbox)
/// in the mailbox's order, one message in memory at a time. The mailbox is one folder, named
/// after its file without ".dbx". Damage the reader went round is said on the error output,
/// named by the mailbox; a message it cost (or messages the damage put out of reach) is a
/// failure. A file that is no mailbox is a failure; a database of another kind (Folders.dbx)
/// holds no messages and writes nothing. When the target asks to stop, the reading ends after the
/// current message.
void ExportDbxStore(const std::string &path, ExportTarget &target);

/// The folder an Outlook Express mailbox stands for: its file name without its ending (".dbx").
std::string MailboxFolderName(const std::string &path);

} // namespace qb::cli
