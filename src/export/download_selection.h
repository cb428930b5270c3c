#pragma once

#include "outlook/message_columns.h"
#include "platform/controls/list_view.h"

#include <array>
#include <string>

// Which rows of the Outlook message list "Start Downloading" takes, and the line numbers its
// failure reports show for each kind of selection.
namespace qb::exporting {

/// The standard folders Combo1 offers as filters, in list order.
inline constexpr std::array<const char *, 5> standardFolderChoices{"Inbox", "Outbox", "Drafts",
                                                                   "Sent Items", "Deleted Items"};

/// The kinds of selection of Combo1.
enum class Selection {
    CheckedItems,
    All,
    /// Rows whose "Folder" or "Subfolder" cell equals the filter.
    FolderFilter,
    /// A choice the list does not offer: no row is taken.
    Nothing,
};

/// The selection that Combo1's text names. The five standard folders and
/// "User-specified Folder" are folder filters.
Selection SelectionFor(const std::string &comboText);

/// True for the five standard folder names that Combo1 offers as filters.
bool IsStandardFolderChoice(const std::string &comboText);

/// True when the row (1-based) is taken. A folder filter compares exactly: case-sensitive, no
/// trimming on either side.
bool RowIsTaken(const ListView &list, int row, Selection selection, const std::string &filter);

/// Line numbers of the per-row steps; each selection runs its own copy of the loop.
struct RowLines {
    int loopTest;
    /// 0 when every row is taken without a test.
    int rowTest;
    int sleep;
    int count;
    int fetch;
    int pause;
    int name;
    /// The nine replacements take this line and the eight even numbers after it.
    int firstReplacement;
    int path;
    int save;
    int oneFileTest;
    int readBack;
    int write;
    int deleteSingle;
    int nextRow;
};

/// The line numbers for a selection; Nothing shares those of the folder filter.
const RowLines &LinesFor(Selection selection);

/// Sub-items of an Outlook message row that the download reads.
inline constexpr int folderSubItem = outlook::SubItemOf(outlook::MessageColumn::Folder);
inline constexpr int subfolderSubItem = outlook::SubItemOf(outlook::MessageColumn::Subfolder);
inline constexpr int entryIdSubItem = outlook::SubItemOf(outlook::MessageColumn::Id);

} // namespace qb::exporting
