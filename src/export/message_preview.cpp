#include "export/message_preview.h"

#include "export/download_selection.h"
#include "export/express_download.h"
#include "failure/required_object.h"
#include "outlook/message_columns.h"

#include <memory>
#include <string>

namespace qb::exporting {
namespace {

constexpr int subjectSubItem = outlook::SubItemOf(outlook::MessageColumn::Subject);

} // namespace

void showOutlookMessage(const PreviewFacilities &facilities, const ListView &list, int row) {
    Guard guard(facilities.reporter, outlookPreviewProcedure);
    std::shared_ptr<outlook::Application> application;
    guard.step(100, [&] { application = facilities.mailStores.createApplication(); });
    std::shared_ptr<outlook::Namespace> mapi;
    guard.step(102, [&] { mapi = Required(application).GetNamespace("MAPI"); });
    std::shared_ptr<outlook::Item> item;
    guard.step(104, [&] {
        item = Required(mapi).GetItemFromID(std::string(list.subItem(row, entryIdSubItem)));
    });
    std::string text;
    bool rendered = false;
    guard.step(106, [&] {
        text = Required(item).SavedText(outlook::olTXT);
        rendered = true;
    });
    if (!rendered)
        return;
    guard.step(108, [&] {
        const std::string subject(list.subItem(row, subjectSubItem));
        facilities.viewer.show(subject.empty() ? "(no subject)" : subject, text);
    });
}

void showExpressMessage(MimeReader &mime, MessageViewer &viewer, FailureReporter &reporter,
                        const ListView &list, int row, const std::string &emlPath) {
    Guard guard(reporter, expressPreviewProcedure);
    std::string record;
    bool made = false;
    guard.run([&] {
        record = ExpressRecordOfRow(mime, list, row, emlPath);
        made = true;
    });
    if (!made)
        return;
    guard.run([&] {
        const std::string subject(list.subItem(row, 2));
        viewer.show(subject.empty() ? "(no subject)" : subject, record);
    });
}

} // namespace qb::exporting
