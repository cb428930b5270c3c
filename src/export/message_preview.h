#pragma once

#include "failure/guard.h"
#include "platform/controls/list_view.h"
#include "platform/message_viewer.h"
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

} // namespace qb::exporting
