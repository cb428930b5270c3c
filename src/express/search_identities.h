#pragma once

#include "express/dbx_files.h"
#include "failure/guard.h"
#include "platform/controls/list_view.h"
#include "platform/controls/window_model.h"
#include "platform/message_boxes.h"

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

/// What the search for the mailboxes uses: where it reads, where it tells the user, and the
/// reporter of failing steps.
struct SearchFacilities {
    StoreSources sources;
    TitledMessageBoxes &messages;
    FailureReporter &reporter;
};

/// True when the text is empty once every NUL is removed and blanks are trimmed from both ends.
bool IsBlankName(std::string_view text);

/// Asks DBXFiles for the store folders and appends the DBX files of each to FoundDBXFiles, under
/// the guard "Express1.SearchIdentities". A failed lookup keeps the folders of the last search.
void findIdentityMailboxes(const SearchFacilities &facilities, SearchState &state);

/// "Search For Outlook Express": searches anew and appends every path found to ListView1, as it
/// stands; when the list is still empty, points the user to PushButton1 ("Add Outlook Express
/// File") and gives it the focus. Guarded as "Form2.PushButton14_Click".
void listIdentityMailboxes(const SearchFacilities &facilities, SearchState &state,
                           WindowModel &window, ListView &ListView1, PushButton &PushButton1);

} // namespace qb::express
