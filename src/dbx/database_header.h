#pragma once

#include "dbx/file_window.h"

#include <cstdint>
#include <string>

namespace qb::dbx {

/// What an Outlook Express database file holds, as its header says.
enum class DatabaseKind { Messages, Folders, Pop3uidl, Offline, OtherDbx, NotDbx };

/// The part of a database file's header that leads to the messages.
struct DatabaseHeader {
    DatabaseKind kind = DatabaseKind::NotDbx;
    /// Number of entries the message tree claims to hold.
    std::uint64_t messageCount = 0;
    /// File offset of the message tree's root node; 0 for an empty tree.
    std::uint64_t treeRoot = 0;
};

/// Size of the fixed header every database file starts with.
inline constexpr std::uint64_t databaseHeaderSize = 0x24bc;

/// Reads the header; a file too short for one, or with other leading bytes, is NotDbx.
/// Throws Failure only when the file cannot be read.
DatabaseHeader ReadDatabaseHeader(FileWindow &file);

/// A short description of the kind for messages to the user, such as "a folder database".
std::string DescribeKind(DatabaseKind kind);

} // namespace qb::dbx
