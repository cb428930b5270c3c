#pragma once

#include "express/dbx_files.h"
#include "platform/controls/list_view.h"
#include "platform/controls/window_model.h"
#include "platform/platform.h"

#include <string>
#include <string_view>
#include <vector>

// Express1: the search for the DBX files of every mail identity, and the click of
// "Search For Outlook Express" that lists them.
namespace qb::express {

/// What the search keeps for the whole run of the program; its owner outlives every opening of
/// the Outlook Express window.
struct SearchState {
    /// Full paths of the DBX files the last search found; may hold blank entries.
    std::vector<std::string> FoundDBXFiles;
    /// The store folders of the last search whose store-folder lookup succeeded.
    std::vector<std::string> StoreFolders;
};

/// True when the text is empty once every NUL is removed and blanks are trimmed from both ends.
bool IsBlankName(std::string_view text);

/// Asks DBXFiles for the store folders and appends the DBX files of each to FoundDBXFiles, under
/// the guard "Express1.SearchIdentities". A failed lookup keeps the folders of the last search.
void SearchIdentities(Platform &platform, StoreSources sources, SearchState &state);

/// "Search For Outlook Express" (PushButton14 of Form2): searches anew and appends every path
/// found to ListView1, as it stands; when the list is still empty, points the user to PushButton1
/// and gives it the focus.
void PushButton14_Click(Platform &platform, StoreSources sources, SearchState &state,
                        WindowModel &window, ListView &ListView1, PushButton &PushButton1);

} // namespace qb::express
