#pragma once

#include "dbx/database_header.h"

#include <cstdint>
#include <ostream>
#include <string>

namespace qb::dbx {

/// What one conversion did.
struct ConversionSummary {
    DatabaseKind kind = DatabaseKind::NotDbx;
    /// Messages written whole as .eml files.
    std::uint64_t written = 0;
    /// Messages the tree lists whose text could not be read whole; none of them was written.
    std::uint64_t damaged = 0;
    /// Damaged places in the tree, below which messages may be lost.
    std::uint64_t treeDamage = 0;
    /// Messages the header counts beyond those the tree could reach.
    std::uint64_t unreachable = 0;

    /// True when every message the database holds was written.
    bool whole() const { return damaged == 0 && treeDamage == 0 && unreachable == 0; }
};

/// Writes every message of the message database at dbxPath, byte for byte as stored, as one
/// .eml file directly inside folder. Files are named after the database and the message's place
/// in it ("Inbox-00001.eml" for the first message of Inbox.dbx) and never replace a file already
/// there. Damage and files that hold no messages are described on log, one line each. Throws
/// Failure when the database cannot be opened or read or the folder cannot be written.
ConversionSummary ConvertMailbox(const std::string &dbxPath, const std::string &folder,
                                 std::ostream &log);

/// The start of every file name a conversion of dbxPath gives: the file's base name without a
/// final ".dbx" and without leading dots (so that no file is hidden), shortened to leave room for
/// the rest of the name; "mailbox" when nothing is left.
std::string FileStemFor(const std::string &dbxPath);

} // namespace qb::dbx
