#pragma once

#include "platform/controls/list_view.h"
#include "platform/file_system.h"

#include <string>
#include <vector>

// The Outlook Express message list: one row per .eml file of the work folder.
namespace qb::express {

/// Reads every visible .eml file of folder (no final "/") and, for each whose "Date" header has
/// a value, appends a row (From; To, Subject, Date as sub-items, the header lines as the scan
/// finds them; From, To and Subject with their encoded words decoded, the date as written) to
/// ListView2 and the file's name to EmlFileNames, so that item i always names row i's file.
/// Rows already there stay; a file that cannot be read ends the reading with its failure.
void LoadEmlMessages(FileSystem &files, const std::string &folder, ListView &ListView2,
                     std::vector<std::string> &EmlFileNames);

} // namespace qb::express
