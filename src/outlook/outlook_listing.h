#pragma once

#include "failure/guard.h"
#include "mail/mail_walk.h"
#include "outlook/listing_progress.h"
#include "platform/clock.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/event_pump.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/outlook_api.h"
#include "platform/platform.h"
#include "platform/processes.h"
#include "platform/text_locale.h"

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

/// The facilities the Outlook listing uses.
struct ListingFacilities {
    FailureReporter &reporter;
    EventPump &events;
    Clock &clock;
    TextLocale &locale;
    /// The listing's messages, under the application title that start-up sets.
    TitledMessageBoxes &messages;
    FileDialogs &fileDialogs;
    FileSystem &files;
    MailStoreLayer &mailStores;
    /// The folder of the profile's stores, where the PST file picker opens.
    std::string profileFolder;
};

/// The listing's facilities among those a window is given.
ListingFacilities ListingFacilitiesOf(Platform &platform);

/// Form-level state of the main window that the walk uses.
struct ListingState {
    std::string strRootFolder;
    std::string strTopFolder;
    bool bSearchMode = false;
    std::int16_t iOutlookVersion = 0;
};

/// The designed names of the listing's guarded procedures, as its failure reports show them.
namespace listing_procedure {
inline constexpr ProcedureName listMessages{"Form1", "PushButton1_Click"};
inline constexpr ProcedureName listChosenSource{"Form1", "getAllEmailOutlook"};
inline constexpr ProcedureName findMessages{"Form1", "PushButton2_Click"};
inline constexpr ProcedureName checkAllRows{"Form1", "PushButton5_Click"};
inline constexpr ProcedureName uncheckAllRows{"Form1", "PushButton6_Click"};
inline constexpr ProcedureName pickPstFile{"Form1", "PushButton8_Click"};
} // namespace listing_procedure

/// The Outlook road of the main window: the listing that fills the message list through the
/// shared folder walk, the search, the check marks and the PST file picker. Every action runs
/// under its own failure guard, named as listing_procedure names it. A listing is a long action
/// of the window: its status line shows the store and the count, and Stop ends it after the
/// current message, with the rows listed so far kept and the usual "Done.".
class OutlookListing : private mail::MessageTaker {
  public:
    OutlookListing(ListingFacilities facilities, ListingControls controls);

    /// "Get Emails From Outlook": checks that a mail store can be opened and that the chosen
    /// source is usable, empties the list and lists the source.
    void listMessages();
    /// "Find": checks the chosen source, empties the list and lists only the messages that
    /// contain the search text (Text1).
    void findMessages();
    /// "Select All Items" and "Deselect All Items".
    void checkAllRows();
    void uncheckAllRows();
    /// The "..." button beside Text2: a file-open dialog for a PST file, opening in the folder of
    /// the file in Text2 when that folder exists, else in the profile folder; its choice goes
    /// into Text2, and a cancelled dialog changes nothing.
    void pickPstFile();

  private:
    /// Opens a connection to the mail stores, lists the chosen source and ends with "Done.".
    void listChosenSource();
    /// The two checks of the PST source, numbered from firstLine; false when the action stops.
    bool pstFileIsUsable(Guard &guard, int firstLine);
    /// Lists every store of the profile, in the order of the namespace's folders, until a stop.
    void listProfileStores(Guard &guard, Namespace *mapi, mail::MailWalk &walk);
    /// Attaches the PST file of Text2, lists it and detaches it when this listing attached it.
    void listPstFile(Guard &guard, Namespace *mapi, mail::MailWalk &walk);
    /// The walk of the listing: the window's scope, with the search of a Find listing and the
    /// stop of the window's status line.
    mail::WalkScope walkScope(const ListingProgress &progress);
    /// Whether a message contains the search text of Text1.
    bool passesSearch(Item &item);
    void showMessage(const std::string &text);

    void enteredTopFolder(const std::string &name) override;
    /// Builds the cells of one message row and appends the row.
    void take(Guard &guard, const mail::WalkPlace &place, Folder &holder, Item &item) override;

    ListingFacilities facilities_;
    ListingControls controls_;
    ListingState state_;
    /// The progress of the listing that runs, or null.
    ListingProgress *progress_ = nullptr;
};

/// True when an application object can be created; never reports.
bool IsOutlookInstalled(MailStoreLayer &layer);

/// Ends every process that this program started, directly or through the processes it started,
/// whose executable name ends with processName, compared without regard to letter case. Other
/// processes and the program itself are never touched. Reports nothing: a failure ends it
/// quietly.
void KillProcess(Processes &processes, const std::string &processName);

} // namespace qb::outlook
