#include "failure/required_object.h"
#include "outlook/outlook_listing.h"
#include "outlook/property_read.h"
#include "outlook/search_filter.h"

#include <optional>

namespace qb::outlook {

bool IsWalkedFolder(const std::string &folderName) {
    return folderName != "Internet Newsgroups" && folderName != "All Public Folders";
}

namespace {

/// True when neither the subject nor the sender name of an item can be read. With its class
/// unreadable as well, the store cannot read the item at all (libpff fails so on some contacts),
/// and a row would hold nothing but a report for every cell.
bool SubjectAndSenderUnreadable(Item &item) {
    return PropertyRead<std::string>([&] { return item.Subject(); }).failed() &&
           PropertyRead<std::string>([&] { return item.SenderName(); }).failed();
}

} // namespace

void OutlookListing::GetMailItems(std::int16_t pLevel, const std::shared_ptr<Folder> &pFld,
                                  bool &Recursive) {
    Guard guard(platform_.reporter, "Form1", "GetMailItems");
    // Read when a report is built; if this read fails, the caller's guard hears of it.
    guard.setExtraLine([&] {
        return "pFld.Folders.count: " + std::to_string(Required(Required(pFld).folders()).count());
    });
    if (!guard.test(100, [&] { return IsWalkedFolder(Required(pFld).defaultValue()); }))
        return;
    std::optional<CurrentStoreWalk> storeWalk;
    if (pLevel == 1)
        storeWalk.emplace(storeWalk_, state_.strRootFolder);
    int subfolders = 0;
    guard.step(102, [&] { subfolders = Required(Required(pFld).folders()).count(); });
    for (int i = 1; i <= subfolders; ++i) {
        guard.step(104, [&] { platform_.events.processEvents(); });
        std::shared_ptr<Folder> subfolder;
        guard.step(106, [&] { subfolder = Required(pFld->folders()).item(i); });
        if (subfolder)
            walkSubfolder(guard, pLevel, subfolder, Recursive);
    }
    if (pLevel == 1)
        guard.step(144, [&] { storeWalk_.checkAllRead(); });
}

void OutlookListing::walkSubfolder(Guard &guard, std::int16_t pLevel,
                                   const std::shared_ptr<Folder> &subfolder, bool &Recursive) {
    const InsideFolder inside(storeWalk_, subfolder);
    if (pLevel == 1) {
        // A name that cannot be read must not leave the previous folder's name behind, which
        // would give this folder's rows to that folder (and to its download scope).
        state_.strTopFolder.clear();
        guard.step(108, [&] { state_.strTopFolder = subfolder->name(); });
    }
    guard.step(110, [&] { GetMailItems(2, subfolder, Recursive); });
    std::shared_ptr<Items> items;
    int count = 0;
    guard.step(112, [&] {
        items = subfolder->items();
        count = Required(items).count();
    });
    for (int j = 1; j <= count; ++j) {
        guard.step(114, [&] { platform_.events.processEvents(); });
        std::shared_ptr<Item> item;
        guard.step(116, [&] { item = items->item(j); });
        if (item)
            considerItem(guard, *subfolder, *item, j);
    }
}

void OutlookListing::considerItem(Guard &guard, Folder &holder, Item &item, int position) {
    // The class is read before its step: whether its failure is reported depends on whether
    // anything else of the item can be read.
    const PropertyRead<int> itemClass([&] { return item.Class(); });
    if (itemClass.failed() && SubjectAndSenderUnreadable(item)) {
        storeWalk_.addUnreadable(position, itemClass.failure());
        return;
    }
    if (!guard.test(118, [&] { return itemClass.value() == olMail; }))
        return;
    if (state_.bSearchMode && !guard.test(120, [&] {
            return PassesSearchFilter(item, controls_.Text1.text(), state_.iOutlookVersion,
                                      platform_.locale);
        }))
        return;
    appendMessageRow(guard, holder, item);
}

} // namespace qb::outlook
