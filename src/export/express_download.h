#pragma once

#include "failure/guard.h"
#include "platform/clock.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
#include "platform/controls/text_box.h"
#include "platform/controls/window_model.h"
#include "platform/event_pump.h"
#include "platform/file_dialogs.h"
#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/mime_reader.h"

#include <string>
#include <vector>

namespace qb::exporting {

/// The Outlook Express window's controls that "Start Downloading" reads.
struct ExpressDownloadControls {
    WindowModel &window;
    TextBox &Text3;        // output folder for single files, a plain prefix
    OptionButton &Option1; // one file per message
    OptionButton &Option2; // all messages in one file
    ListView &ListView2;   // message list
};

/// What "Start Downloading" of the Outlook Express window uses: the reader of the .eml files, the
/// files it writes, the "Save List" dialog, the events that run before a delete and between two
/// messages, the clock that times the run, its messages and the reporter of failing steps.
struct ExpressDownloadFacilities {
    MimeReader &mime;
    FileSystem &files;
    FileDialogs &fileDialogs;
    EventPump &events;
    Clock &clock;
    TitledMessageBoxes &messages;
    FailureReporter &reporter;
};

/// The record "Start Downloading" writes for a row of the message list: the row's listed
/// headers and the text body of its .eml file. Failures of the reader reach the caller.
std::string ExpressRecordOfRow(MimeReader &mime, const ListView &list, int row,
                               const std::string &emlPath);

/// The "Save List" dialog for the combined file, opening in startFolder (the output folder): the
/// chosen path, after the user has agreed to overwrite an existing file and it has been deleted;
/// the empty text on Cancel or No.
std::string AskForCombinedFile(FileDialogs &fileDialogs, FileSystem &files, EventPump &events,
                               TitledMessageBoxes &messages, const std::string &startFolder);

/// "Start Downloading" of the Outlook Express window, guarded as "Form2.PushButton7_Click"
/// without line numbers. Each checked row of ListView2 becomes an Outlook Express message record
/// of its listed headers and the text body of its .eml file (workFolder + "/" + the row's item
/// of EmlFileNames): in a file of its own under Text3 (Option1), or appended to the file chosen
/// in "Save List" (Option2). A row whose file cannot be read is reported and left out; a
/// cancelled "Save List" writes nothing. The header lines are the row's texts as listed. When
/// Text3 names no existing folder (an empty box included), single files end the run with "Folder
/// does not exist. Please select another folder." and nothing written; every other run ends with
/// "Done.". Once its destination is chosen the run is a long action of the window
/// (DownloadProgress): Stop ends it after the current message.
void saveCheckedMessages(const ExpressDownloadFacilities &facilities,
                         const ExpressDownloadControls &controls,
                         const std::vector<std::string> &EmlFileNames,
                         const std::string &workFolder);

} // namespace qb::exporting
