#pragma once

#include "failure/guard.h"
#include "platform/clock.h"
#include "platform/controls/list_view.h"
#include "platform/controls/long_action.h"
#include "platform/controls/window_model.h"
#include "platform/event_pump.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/program_runner.h"

#include <string>
#include <vector>

// modShortFilename and the extraction of the checked DBX files into .eml work files.
namespace qb::express {

/// The path under which a started program reaches the file: the host path of an existing file,
/// Windows paths mapped through Wine's drives; the empty text when there is no such file.
std::string GetShortFileName(FileSystem &files, const std::string &path);

/// One argument in double quotes, read back unchanged by the Windows rules: a quote inside is
/// written as \" and the backslashes before a quote are doubled, so no path can end the quotes
/// early. A path without quotes or final backslashes is simply enclosed.
std::string QuotedArgument(const std::string &text);

/// The converter's command line: its short path, the short path of the DBX file and the work
/// folder, each quoted, separated by one blank.
std::string ConverterCommandLine(FileSystem &files, const std::string &converterPath,
                                 const std::string &dbxPath, const std::string &workFolder);

/// What the extraction uses: the files of the work folder, the converter it starts and waits for,
/// the events and the clock of the wait, its messages and the reporter of failing steps.
struct ExtractionFacilities {
    FileSystem &files;
    ProgramRunner &programs;
    EventPump &events;
    Clock &clock;
    TitledMessageBoxes &messages;
    FailureReporter &reporter;
    /// Folder of the running program, where the converter lies; without a final "/".
    std::string programFolder;
    /// Folder of the .eml work files, without a final "/"; made when needed.
    std::string workFolder;
};

/// The controls of the Outlook Express window that the extraction uses.
struct ExtractionControls {
    WindowModel &window;
    ListView &ListView1; // DBX files; the checked ones are converted
    ListView &ListView2; // messages, refilled from the work folder
};

/// How many of the first `rows` rows of the list are checked.
int CheckedRowCount(const ListView &list, int rows);

/// One extraction as the window shows it: a long action whose status line names the mailbox
/// being converted ("Converting Inbox.dbx (2 of 3)") and whose Stop ends the extraction once that
/// mailbox is listed. At the end the line keeps the count ("Listed 58 messages from 3
/// mailbox files", or "Stopped after 2 of 3 mailbox files, 40 messages listed").
class ExtractionProgress {
  public:
    ExtractionProgress(WindowModel &window, int mailboxes);

    bool stopRequested() const { return action_.stopRequested(); }
    /// The conversion of the mailbox file at path starts.
    void startMailbox(const std::string &path);
    /// Leaves the closing count of the messages listed.
    void finish(int messages);

  private:
    LongAction action_;
    int mailboxes_;
    int started_ = 0;
};

/// "Extract Emails From Outlook Express": empties the work folder, the message list and
/// EmlFileNames, then converts each checked DBX file with the converter beside the program and
/// lists the .eml files each conversion added, in mailbox order, so that every message of the
/// checked mailboxes is listed once, mailbox after mailbox. Files the delete left are not listed.
/// Guarded as "Form2.PushButton2_Click", a file that cannot be read reported on its own; always
/// ends with "Done.". A long action of the window (ExtractionProgress): Stop ends it between two
/// mailboxes.
void extractMessages(const ExtractionFacilities &facilities, const ExtractionControls &controls,
                     std::vector<std::string> &EmlFileNames);

} // namespace qb::express
