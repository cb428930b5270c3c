#pragma once

#include "outlook/store_walk.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/outlook_api.h"
#include "platform/platform.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qb::outlook {

/// The main-window controls the Outlook listing reads and fills.
struct ListingControls {
    WindowModel &window;
    TextBox &Text1;        // search text
    TextBox &Text2;        // PST file path
    OptionButton &Option3; // source: the profile's stores
    OptionButton &Option4; // source: the PST file in Text2
    ListView &ListView1;   // Outlook message list
};

/// Form-level state of the main window that the walk uses.
struct ListingState {
    std::string strRootFolder;
    std::string strTopFolder;
    bool bSearchMode = false;
    std::int16_t iOutlookVersion = 0;
};

/// The Outlook road of the main window: "Get Emails From Outlook", the connection and folder
/// walk that fill the message list, "Find", "Select All Items", "Deselect All Items" and the
/// PST file picker. Every handler runs under its own failure guard with the main window's
/// procedure paths ("Form1.PushButton1_Click", "Form1.getAllEmailOutlook", ...).
class OutlookListing {
  public:
    OutlookListing(Platform &platform, ListingControls controls);

    void PushButton1_Click(); // "Get Emails From Outlook"
    void getAllEmailOutlook();
    void GetMailItems(std::int16_t pLevel, const std::shared_ptr<Folder> &pFld, bool &Recursive);
    void PushButton2_Click(); // "Find"
    void PushButton5_Click(); // "Select All Items"
    void PushButton6_Click(); // "Deselect All Items"
    void PushButton8_Click(); // PST file picker

  private:
    /// The two checks of the PST source, numbered from firstLine; false when the action stops.
    bool pstFileIsUsable(Guard &guard, int firstLine);
    /// Lists every store of the profile, in the order of the namespace's folders.
    void listProfileStores(Guard &guard, Namespace *mapi);
    /// Attaches the PST file of Text2, lists it and detaches it when this listing attached it.
    void listPstFile(Guard &guard, Namespace *mapi);
    /// Walks one subfolder of the folder being walked: its subfolders, then its messages.
    void walkSubfolder(Guard &guard, std::int16_t pLevel, const std::shared_ptr<Folder> &subfolder,
                       bool &Recursive);
    /// Lists item `position` of a subfolder when it is a mail message that the search lets
    /// through; an item of which nothing can be read is only noted for the store's report.
    void considerItem(Guard &guard, Folder &holder, Item &item, int position);
    /// Builds the cells of one message row and appends the row.
    void appendMessageRow(Guard &guard, Folder &holder, Item &item);

    Platform &platform_;
    ListingControls controls_;
    ListingState state_;
    StoreWalk storeWalk_;
};

/// True when an application object can be created; never reports.
bool IsOutlookInstalled(MailStoreLayer &layer);

/// False for the folders whose trees hold news and public folders, not the user's mail; no walk
/// goes into them.
bool IsWalkedFolder(const std::string &folderName);

/// Ends every process that this program started, directly or through the processes it started,
/// whose executable name ends with processName, compared without regard to letter case. Other
/// processes and the program itself are never touched. Reports nothing: a failure ends it
/// quietly.
void KillProcess(Processes &processes, const std::string &processName);

} // namespace qb::outlook
