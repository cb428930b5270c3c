#pragma once

#include "failure/guard.h"
#include "platform/controls/list_view.h"
#include "platform/message_viewer.h"
#include "platform/mime_reader.h"
#include "platform/outlook_api.h"

namespace qb::exporting {

/// What showing an Outlook message to read uses: the mail stores that find it again, the viewer,
/// and the reporter of a message that cannot be found or read.
struct PreviewFacilities {
    outlook::MailStoreLayer &mailStores;
    MessageViewer &viewer;
    FailureReporter &reporter;
};

/// The name failure reports give the reading of a message, after the list's double-click.
inline constexpr ProcedureName outlookPreviewProcedure{"Form1", "ListView1_DblClick"};

/// Double-click or Enter on a row of the Outlook message list: shows, read-only, the text that
/// "Start Downloading" saves for the row's message, found again by the EntryID of the row, under
/// the row's subject. Nothing is written. Guarded as outlookPreviewProcedure (line 100 opens the
/// mail stores, 104 finds the message, 106 renders it, 108 shows it): a message that cannot be
/// found or rendered is reported and nothing is shown.
void showOutlookMessage(const PreviewFacilities &facilities, const ListView &list, int row);

/// The name failure reports give the reading of an Outlook Express message.
inline constexpr ProcedureName expressPreviewProcedure{"Form2", "ListView2_DblClick"};

/// Double-click or Enter on a row of the Outlook Express message list: shows, read-only, the
/// record "Start Downloading" writes for the row (ExpressRecordOfRow of its .eml file), under the
/// row's subject. Nothing is written. Guarded as expressPreviewProcedure: a row without a file,
/// or a file that cannot be read, is reported and nothing is shown.
void showExpressMessage(MimeReader &mime, MessageViewer &viewer, FailureReporter &reporter,
                        const ListView &list, int row, const std::string &emlPath);

} // namespace qb::exporting
