#pragma once

#include "platform/controls/list_view.h"
#include "platform/controls/long_action.h"
#include "platform/controls/window_model.h"

#include <string>

namespace qb::outlook {

/// Whether a listing takes every mail message or only those that contain the search text.
enum class ListingKind { Everything, Search };

/// One listing or Find as the window shows it: a long action whose status line names the store
/// being listed and counts the rows of the list ("Listing Outlook.pst (store 3 of 12), 1,204
/// messages"), and whose Stop ends the listing after the current message. At the end the line
/// keeps the count ("Listed 1,204 messages", "Found 15 messages", "Stopped after 312 messages").
class ListingProgress {
  public:
    /// Starts the long action, with "Opening the mail stores" in the status line.
    ListingProgress(WindowModel &window, ListingKind kind, const ListView &list);

    bool stopRequested() const { return action_.stopRequested(); }
    /// The listing goes into a store: its name, and its number among count stores; a count of 0
    /// means a single file was chosen.
    void enterStore(const std::string &name, int number, int count);
    /// The list has changed: shows its row count.
    void showRows();
    /// Leaves the closing count in the status line.
    void finish();

  private:
    std::string rowsText() const;

    LongAction action_;
    ListingKind kind_;
    const ListView &list_;
    std::string place_;
};

/// The name a status line gives a store: the file name of its path, or the root folder's name
/// when the path is unknown.
std::string StoreDisplayName(const std::string &filePath, const std::string &rootName);

} // namespace qb::outlook
