#include "outlook/message_text.h"
#include "outlook/outlook_listing.h"

#include <vector>

namespace qb::outlook {
namespace {

/// Cells of an Outlook message row, counted from 0: Root, then sub-items 1 to 8.
enum Cell { Root, TopFolder, Subfolder, Date, FromTo, Email, Attachments, Subject, Id, CellCount };

} // namespace

void OutlookListing::enteredTopFolder(const std::string &name) {
    state_.strTopFolder = name;
}

void OutlookListing::take(Guard &guard, const mail::WalkPlace &, Folder &holder, Item &item) {
    // The cells are gathered first and the row is appended in one call, so a cell that cannot
    // be read leaves only that cell empty.
    std::vector<std::string> cells(CellCount);
    guard.step(122, [&] { cells[Root] = state_.strRootFolder; });
    guard.step(124, [&] { cells[TopFolder] = state_.strTopFolder; });
    guard.step(126, [&] {
        const std::string name = holder.name();
        if (name != state_.strTopFolder)
            cells[Subfolder] = name;
    });
    guard.step(128,
               [&] { cells[Date] = ReceivedTimeText(facilities_.locale, item.ReceivedTime()); });
    guard.step(130, [&] { cells[FromTo] = item.SenderName(); });
    if (state_.iOutlookVersion >= 10 &&
        guard.test(132, [&] { return item.SenderEmailType() == "SMTP"; }))
        guard.step(134, [&] { cells[Email] = item.SenderEmailAddress(); });
    guard.step(136, [&] { cells[Attachments] = AttachmentsText(item.attachmentCount()); });
    guard.step(138, [&] { cells[Subject] = item.Subject(); });
    guard.step(140, [&] { cells[Id] = item.EntryID(); });
    guard.step(142, [&] { controls_.ListView1.addRow(cells); });
}

} // namespace qb::outlook
