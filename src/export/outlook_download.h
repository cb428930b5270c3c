#pragma once

#include "failure/guard.h"
#include "platform/clock.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/outlook_api.h"
#include "platform/text_locale.h"

namespace qb::exporting {

/// The main-window controls "Start Downloading" reads.
struct DownloadControls {
    WindowModel &window;
    TextBox &Text3;        // output folder
    ComboBox &Combo1;      // which rows
    OptionButton &Option2; // one-file mode
    ListView &ListView1;   // Outlook message list
};

/// What "Start Downloading" of the main window uses: the mail stores it saves from, the files it
/// writes, the clock of its pauses and names, the events that run meanwhile, the designators of
/// the names, the folder question, its messages and the reporter of failing steps.
struct DownloadFacilities {
    outlook::MailStoreLayer &mailStores;
    FileSystem &files;
    Clock &clock;
    EventPump &events;
    TextLocale &locale;
    InputBoxes &inputBoxes;
    TitledMessageBoxes &messages;
    FailureReporter &reporter;
};

/// "Start Downloading" of the main window: saves the chosen rows' messages as text files, one
/// per message or gathered into "AllEmails.txt". Guarded as "Form1.PushButton3_Click".
class OutlookDownload {
  public:
    OutlookDownload(DownloadFacilities facilities, DownloadControls controls);

    /// Saves the messages of the rows Combo1 chooses, with the controls as they are now. Every
    /// failing step is reported and the run goes on; the run ends with "Done." or "No records
    /// selected", or stops at once when the output folder is missing or the folder question is
    /// left empty.
    void saveChosenMessages();

  private:
    DownloadFacilities facilities_;
    DownloadControls controls_;
};

} // namespace qb::exporting
