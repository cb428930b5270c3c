#pragma once

#include "dbx/mailbox_reader.h"

#include <functional>
#include <ostream>
#include <string>

namespace qb::dbx {

/// True once the work is asked to stop; empty means never.
using StopCheck = std::function<bool()>;

/// Writes every message of the message database at dbxPath that can be read whole, byte for byte
/// as stored, as one .eml file directly inside folder (see ReadMailbox). Files are named after the
/// database and the message's place in it ("Inbox-00001.eml" for the first message of Inbox.dbx)
/// and never replace a file already there. Staged files that killed conversions left in folder
/// are removed first. Damage, and files that hold no messages, are described on log, one line
/// each. Once stopRequested says so, the conversion ends after the message being written (the
/// summary says it stopped). Throws Failure when the database cannot be opened or read or the
/// folder cannot be written.
MailboxSummary ConvertMailbox(const std::string &dbxPath, const std::string &folder,
                              std::ostream &log, const StopCheck &stopRequested = {});

/// The start of every file name a conversion of dbxPath gives: the file's base name without a
/// final ".dbx" and without leading dots (so that no file is hidden), shortened at a UTF-8
/// boundary to leave room for the rest of the name; "mailbox" when nothing is left.
std::string FileStemFor(const std::string &dbxPath);

} // namespace qb::dbx
