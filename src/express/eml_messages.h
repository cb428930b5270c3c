#pragma once

#include "platform/controls/list_view.h"
#include "platform/file_system.h"

#include <set>
#include <string>
#include <vector>

// The Outlook Express message list: one row per .eml file of the work folder.
namespace qb::express {

/// The names in mailbox order: names that differ only in their numbers are ordered by the numbers'
/// values, so "Inbox-00002.eml" comes before "Inbox-00010.eml" and "Inbox-100000.eml" after
/// "Inbox-99999.eml", whatever order the directory listing gave.
std::vector<std::string> InMailboxOrder(std::vector<std::string> names);

/// Reads the .eml file folder + "/" + name and, when its "Date" header has a value, appends a
/// row to ListView2 and the name to EmlFileNames, so that item i always names row i's file. The
/// row holds the "From" value as its text and the "To", "Subject" and "Date" values as its
/// sub-items, each the header line as the scan finds it; From, To and Subject with their encoded
/// words decoded, the date as written. A file that cannot be read throws Failure.
void ListEmlMessage(FileSystem &files, const std::string &folder, const std::string &name,
                    ListView &ListView2, std::vector<std::string> &EmlFileNames);

/// ListEmlMessage for every visible .eml file of folder (no final "/"), in mailbox order. Rows
/// already there stay; a file that cannot be read ends the reading with its failure.
void LoadEmlMessages(FileSystem &files, const std::string &folder, ListView &ListView2,
                     std::vector<std::string> &EmlFileNames);

/// The names of the visible .eml files of folder that are not in taken, in mailbox order; they
/// are added to taken. So after each conversion into the folder, the files it added.
std::vector<std::string> NewEmlFiles(FileSystem &files, const std::string &folder,
                                     std::set<std::string> &taken);

} // namespace qb::express
