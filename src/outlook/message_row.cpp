#include "outlook/message_columns.h"
#include "outlook/message_text.h"
#include "outlook/outlook_listing.h"

#include <vector>

namespace qb::outlook {

void OutlookListing::enteredTopFolder(const std::string &name) {
    state_.strTopFolder = name;
}

void OutlookListing::take(Guard &guard, const mail::WalkPlace &, Folder &holder, Item &item) {
    // The cells are gathered first and the row is appended in one call, so a cell that cannot
    // be read leaves only that cell empty.
    std::vector<std::string> cells(messageColumns.size());
    const auto cell = [&](MessageColumn column) -> std::string & {
        return cells[CellIndexOf(column)];
    };
    guard.step(122, [&] { cell(MessageColumn::Root) = state_.strRootFolder; });
    guard.step(124, [&] { cell(MessageColumn::Folder) = state_.strTopFolder; });
    guard.step(126, [&] {
        const std::string name = holder.name();
        if (name != state_.strTopFolder)
            cell(MessageColumn::Subfolder) = name;
    });
    guard.step(128, [&] {
        cell(MessageColumn::Date) = ReceivedTimeText(facilities_.locale, item.ReceivedTime());
    });
    guard.step(130, [&] { cell(MessageColumn::FromTo) = item.SenderName(); });
    if (state_.iOutlookVersion >= 10 &&
        guard.test(132, [&] { return item.SenderEmailType() == "SMTP"; }))
        guard.step(134, [&] { cell(MessageColumn::Email) = item.SenderEmailAddress(); });
    guard.step(136,
               [&] { cell(MessageColumn::Attachments) = AttachmentsText(item.attachmentCount()); });
    guard.step(138, [&] { cell(MessageColumn::Subject) = item.Subject(); });
    guard.step(140, [&] { cell(MessageColumn::Id) = item.EntryID(); });
    guard.step(142, [&] { controls_.ListView1.addRow(cells); });
    if (progress_)
        progress_->showRows();
}

} // namespace qb::outlook
