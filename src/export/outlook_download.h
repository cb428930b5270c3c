#pragma once

#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/platform.h"

namespace qb::exporting {

/// The main-window controls "Start Downloading" reads.
struct DownloadControls {
    WindowModel &window;
    TextBox &Text3;        // output folder
    ComboBox &Combo1;      // which rows
    OptionButton &Option2; // one-file mode
    ListView &ListView1;   // Outlook message list
};

/// "Start Downloading" of the main window: saves the chosen rows' messages as text files, one
/// per message or gathered into "AllEmails.txt". Guarded as "Form1.PushButton3_Click".
class OutlookDownload {
  public:
    OutlookDownload(Platform &platform, DownloadControls controls);

    /// Runs one download with the controls as they are now. Every failing step is reported and
    /// the run goes on; the run ends with "Done." or "No records selected", or stops at once when
    /// the output folder is missing or the folder question is left empty.
    void PushButton3_Click();

  private:
    Platform &platform_;
    DownloadControls controls_;
};

} // namespace qb::exporting
