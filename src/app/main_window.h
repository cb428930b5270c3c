#pragma once

#include "app/settings.h"
#include "app/start_files.h"
#include "export/message_preview.h"
#include "export/outlook_download.h"
#include "outlook/outlook_listing.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/platform.h"

namespace qb {

class ExpressWindow;

/// The main window (Form1): the Outlook source, the message list, search, download options,
/// the download scope and the output folder. Its controls are plain models; the drawing layer
/// shows them and forwards the user's input to them.
class MainWindow {
  public:
    MainWindow(Platform &platform, Settings &settings, ExpressWindow &expressWindow);
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;

    /// Start-up: dresses the window, restores the settings, builds the list columns and the
    /// scope list, and without a mail store layer opens the Outlook Express window alone.
    /// Guarded as "Form1.Form_Load".
    void load();
    /// After closing: ends every Outlook process, then the program.
    void endProgram();
    /// Opens what the program's command line names, once the window shows: "PST File:" chosen
    /// with the PST file in its box (the listing waits for the user's click), the files left out
    /// told in one message box, then the Outlook Express window when mailboxes wait for it (see
    /// ExpressWindow::addMailboxesOnShow).
    void openStartFiles(const StartFiles &start);

    /// "Show Outlook Express Options": opens the Outlook Express window over this one.
    void openExpressWindow();
    /// "Help": where the stores of the profile are looked for, and that no Outlook is needed.
    void showHelp();
    /// Double-click or Enter on a row of the message list: shows the row's message to read,
    /// unless a long action runs.
    void readMessage(int row);

    WindowModel window{"Form1", 8040, 9705};
    Frame Frame5{"Frame5", "Save Text Files To This Folder", {120, 8220, 7800, 825}};
    TextBox Text3{"Text3", {225, 300, 6540, 345}, &Frame5};
    PushButton PushButton9{"PushButton9", "...", {6840, 300, 720, 345}, &Frame5};
    Frame Frame4{"Frame4", "Folder", {120, 7320, 7800, 825}};
    ComboBox Combo1{"Combo1", {240, 300, 7305, 345}, &Frame4};
    PushButton PushButton7{"PushButton7", "Help", {120, 120, 7800, 405}};
    Frame Frame2{"Frame2", "Download Options", {120, 6210, 7800, 1035}};
    OptionButton Option1{
        "Option1", "Download Each Email To Separate Text File", {240, 300, 3975, 255}, &Frame2};
    OptionButton Option2{
        "Option2", "Download All Emails To One Text File", {240, 650, 3975, 255}, &Frame2};
    Frame Frame3{"Frame3", "Search For", {120, 5295, 7800, 860}};
    TextBox Text1{"Text1", {240, 300, 5895, 345}, &Frame3};
    PushButton PushButton2{"PushButton2", "Find", {6240, 300, 1320, 345}, &Frame3};
    Frame Frame1{"Frame1", "Source", {120, 570, 7800, 1815}};
    TextBox Text2{"Text2", {1440, 720, 5505, 345}, &Frame1};
    OptionButton Option3{"Option3",
                         "Outlook 2000/2002/2003/2007/2010/etc. (Outlook but not Outlook Express)",
                         {240, 330, 6960, 285},
                         &Frame1};
    OptionButton Option4{"Option4", "PST File:", {240, 780, 1230, 285}, &Frame1};
    PushButton PushButton8{"PushButton8", "...", {7035, 720, 510, 345}, &Frame1};
    PushButton PushButton4{
        "PushButton4", "Show Outlook Express Options", {240, 1215, 7320, 405}, &Frame1};
    ListView ListView1{"ListView1", {120, 3030, 7800, 1725}};
    PushButton PushButton1{"PushButton1", "Get Emails From Outlook", {120, 2505, 7800, 405}};
    PushButton PushButton5{"PushButton5", "Select All Items", {120, 4860, 3840, 405}};
    PushButton PushButton6{"PushButton6", "Deselect All Items", {4080, 4860, 3840, 405}};
    PushButton PushButton3{"PushButton3", "Start Downloading", {120, 9150, 7800, 405}};

  private:
    void wireHandlers();
    void wirePointerHandlers();
    void arrangeGrowth();
    void nameForScreenReaders();
    void applySkin();

    Platform &platform_;
    Settings &settings_;
    ExpressWindow &expressWindow_;
    outlook::OutlookListing listing_;
    exporting::OutlookDownload download_;
    exporting::PreviewFacilities preview_;
};

/// The help shown by "Help": five paragraphs with an empty line between them, the third the
/// profile folder.
std::string MailSourceHelp(const std::string &profileFolder);

} // namespace qb
