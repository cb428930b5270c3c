#pragma once

#include "outlook/outlook_api.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/platform.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qb::outlook {

/// The main-window controls the Outlook listing reads and fills.
struct ListingControls {
    WindowModel &window;
    TextBox &Text1;     // search text
    TextBox &Text2;     // PST file path
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

    ListingState &state() { return state_; }

  private:
    Platform &platform_;
    ListingControls controls_;
    ListingState state_;
};

/// True when an application object can be created; never reports.
bool IsOutlookInstalled(MailStoreLayer &layer);

/// Ends every process whose executable name ends with processName, compared without regard to
/// letter case. Reports nothing: a failure ends it quietly.
void KillProcess(Processes &processes, const std::string &processName);

} // namespace qb::outlook
