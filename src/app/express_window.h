#pragma once

#include "app/settings.h"
#include "export/express_download.h"
#include "express/eml_extraction.h"
#include "express/search_identities.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/platform.h"

#include <string>
#include <vector>

namespace qb {

/// The Outlook Express window (Form2), always shown modally: the DBX file list, the message
/// list, the output options and folder.
class ExpressWindow {
  public:
    ExpressWindow(Platform &platform, Settings &settings);
    ExpressWindow(const ExpressWindow &) = delete;
    ExpressWindow &operator=(const ExpressWindow &) = delete;

    /// Loads the window, adds the mailboxes given to addMailboxesOnShow, checked, and shows the
    /// window modally; returns when it has closed.
    void show();
    /// Mailbox files (.dbx) to list when the window next shows, as the program's command line
    /// names them.
    void addMailboxesOnShow(const std::vector<std::string> &paths);
    bool hasMailboxesToAdd() const { return !mailboxesToAdd_.empty(); }

    /// Dresses the window, builds both lists' columns anew and restores the output options and
    /// folder. Guarded as "Form2.Form_Load".
    void load();
    /// On closing: deletes the .eml work files, letting window events run around the delete.
    /// Guarded as "Form2.Form_QueryUnload".
    void removeWorkFiles();
    /// After closing: without a mail store layer this window was the program, which ends.
    void endProgramWhenAlone();
    /// "Help": that PST files belong in the main window, which needs no Outlook.
    void showHelp();
    /// Double-click or Enter on a row of the message list: shows the row's message to read,
    /// unless a long action runs.
    void readMessage(int row);

    WindowModel window{"Form2", 8040, 10245};
    PushButton PushButton23{"PushButton23", "Help", {120, 90, 7800, 405}};
    PushButton PushButton14{"PushButton14", "Search For Outlook Express", {120, 600, 7800, 405}};
    Frame Frame1{"Frame1", "Save Text Files To This Folder", {120, 8280, 7800, 825}};
    TextBox Text3{"Text3", {225, 300, 6540, 345}, &Frame1};
    PushButton PushButton8{"PushButton8", "...", {6840, 300, 720, 345}, &Frame1};
    Frame Frame2{"Frame2", "Download Options", {120, 7050, 7800, 1155}};
    OptionButton Option2{
        "Option2", "Download All Emails To One Text File", {240, 700, 3495, 255}, &Frame2};
    OptionButton Option1{
        "Option1", "Download Each Email To Separate Text File", {240, 345, 3975, 255}, &Frame2};
    ListView ListView1{"ListView1", {120, 1620, 7800, 2115}};
    ListView ListView2{"ListView2", {120, 4860, 7800, 2115}};
    PushButton PushButton1{"PushButton1", "Add Outlook Express File", {120, 1110, 7800, 405}};
    PushButton PushButton5{"PushButton5", "Select All Items", {120, 3840, 3840, 405}};
    PushButton PushButton3{"PushButton3", "Deselect All Items", {4080, 3840, 3840, 405}};
    PushButton PushButton2{
        "PushButton2", "Extract Emails From Outlook Express", {120, 4350, 7800, 405}};
    PushButton PushButton4{"PushButton4", "Select All Items", {120, 9210, 3840, 405}};
    PushButton PushButton6{"PushButton6", "Deselect All Items", {4065, 9210, 3840, 405}};
    PushButton PushButton7{"PushButton7", "Start Downloading", {120, 9720, 7800, 405}};

    /// Item i names the .eml file (in the work folder) behind row i of ListView2. Kept when the
    /// window closes; emptied by the next extraction.
    std::vector<std::string> EmlFileNames;
    /// What "Search For Outlook Express" keeps for the whole run of the program.
    express::SearchState search;

  private:
    void wireHandlers();
    void arrangeGrowth();
    void nameForScreenReaders();
    /// The parts of the program's facilities that each action of the window uses.
    express::SearchFacilities searchFacilities();
    express::ExtractionFacilities extractionFacilities();
    exporting::ExpressDownloadFacilities downloadFacilities();

    Platform &platform_;
    Settings &settings_;
    std::vector<std::string> mailboxesToAdd_;
};

/// The help shown by "Help": two lines.
std::string PstFileHelp();

} // namespace qb
