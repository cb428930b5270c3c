#pragma once

#include "cli/export_scope.h"

#include <string>
#include <vector>

namespace qb::cli {

/// Writes every message of one Outlook Express mailbox as the Outlook Express window's record
/// (From, To, Subject and Date header values, then the text body). The mailbox is turned into
/// .eml files by the converter (converterPath) in a private temporary folder, which is removed
/// again. The mailbox's name without ".dbx" is the messages' folder. A message that is not
/// readable as MIME is written with its whole text as its body. Failures of the converter, of
/// the mailbox and of single messages (named by the mailbox and the message's number in it) are
/// reported and passed over. When the target asks to stop, the converter is ended and no further
/// message is read.
void ExportDbxStore(const std::string &path, const std::string &converterPath,
                    ExportTarget &target);

/// The converter's file names ("Inbox-00001.eml", "Inbox-100000.eml", "Inbox-00001-2.eml") in
/// the order of the messages' numbers, which is the mailbox's order; stem is the names' common
/// start (dbx::FileStemFor of the mailbox). Other names follow, in text order.
std::vector<std::string> InMailboxOrder(std::vector<std::string> names, const std::string &stem);

} // namespace qb::cli
