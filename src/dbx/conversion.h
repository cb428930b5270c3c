#pragma once

#include "dbx/mailbox_reader.h"

#include <ostream>
#include <string>

namespace qb::dbx {

/// Writes every message of the message database at dbxPath that can be read whole, byte for byte
/// as stored, as one .eml file directly inside folder (see ReadMailbox). Files are named after the
/// database and the message's place in it ("Inbox-00001.eml" for the first message of Inbox.dbx)
/// and never replace a file already there. Damage, and files that hold no messages, are described
/// on log, one line each. Throws Failure when the database cannot be opened or read or the folder
/// cannot be written.
MailboxSummary ConvertMailbox(const std::string &dbxPath, const std::string &folder,
                              std::ostream &log);

/// The start of every file name a conversion of dbxPath gives: the file's base name without a
/// final ".dbx" and without leading dots (so that no file is hidden), shortened to leave room for
/// the rest of the name; "mailbox" when nothing is left.
std::string FileStemFor(const std::string &dbxPath);

} // namespace qb::dbx
