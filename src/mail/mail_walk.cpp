#include "mail/mail_walk.h"

#include "failure/caught_failure.h"
#include "failure/required_object.h"

namespace qb::mail {
namespace {

using outlook::Folder;
using outlook::Item;
using outlook::Items;

/// True when neither the subject nor the sender name of an item can be read. With its class
/// unreadable as well, the store cannot read the item at all (libpff fails so on some contacts),
/// and taking it would give nothing but a report for every part.
bool SubjectAndSenderUnreadable(Item &item) {
    return CaughtFailure([&] { item.Subject(); }) && CaughtFailure([&] { item.SenderName(); });
}

} // namespace

bool IsWalkedFolder(const std::string &folderName) {
    return folderName != "Internet Newsgroups" && folderName != "All Public Folders";
}

bool TakesFolder(const std::optional<std::string> &folderName, const std::string &topFolder,
                 const std::string &ownFolder) {
    return !folderName || *folderName == topFolder || *folderName == ownFolder;
}

MailWalk::MailWalk(WalkFacilities facilities, WalkScope scope, MessageTaker &taker)
    : facilities_(facilities), scope_(std::move(scope)), taker_(taker) {}

void MailWalk::walkStore(const std::shared_ptr<Folder> &top, const std::string &storeName) {
    place_.startStore(storeName);
    unreadable_.clear();
    walkFolder(1, top);
}

bool MailWalk::stopRequested() {
    if (!stopped_ && scope_.stopRequested && scope_.stopRequested())
        stopped_ = true;
    return stopped_;
}

void MailWalk::walkFolder(int level, const std::shared_ptr<Folder> &folder) {
    Guard guard(facilities_.reporter, walkProcedure);
    // Read when a report is built; if this read fails, the caller's guard hears of it.
    guard.setExtraLine([&] {
        return "pFld.Folders.count: " +
               std::to_string(Required(Required(folder).folders()).count());
    });
    if (!guard.test(100, [&] { return IsWalkedFolder(Required(folder).defaultValue()); }))
        return;
    int subfolders = 0;
    guard.step(102, [&] { subfolders = Required(Required(folder).folders()).count(); });
    for (int i = 1; i <= subfolders && !stopRequested(); ++i) {
        guard.step(104, [&] { facilities_.events.processEvents(); });
        std::shared_ptr<Folder> subfolder;
        guard.step(106, [&] { subfolder = Required(folder->folders()).item(i); });
        if (subfolder)
            walkSubfolder(guard, level, subfolder);
    }
    if (level != 1)
        return;
    if (scope_.topFolderMail == TopFolderMail::Taken && folder && !stopRequested())
        walkItems(guard, *folder);
    guard.step(144, [&] { unreadable_.checkAllRead(place_.storeName(), scope_.takenMeans); });
}

void MailWalk::walkSubfolder(Guard &guard, int level, const std::shared_ptr<Folder> &subfolder) {
    const InsideFolder inside(place_, subfolder);
    if (level == 1) {
        // A name that cannot be read must not leave the previous folder's name behind, which
        // would give this folder's messages to that folder.
        std::optional<std::string> name;
        guard.step(108, [&] { name = subfolder->name(); });
        place_.setTopFolder(name);
        taker_.enteredTopFolder(name.value_or(""));
    }
    guard.step(110, [&] { walkFolder(2, subfolder); });
    if (!stopped_)
        walkItems(guard, *subfolder);
}

bool MailWalk::takesFolder(Guard &guard, Folder &holder) {
    if (!scope_.folderName)
        return true;
    return guard.test(
        112, [&] { return TakesFolder(scope_.folderName, place_.topFolder(), holder.name()); });
}

void MailWalk::walkItems(Guard &guard, Folder &holder) {
    if (!takesFolder(guard, holder))
        return;
    std::shared_ptr<Items> items;
    int count = 0;
    guard.step(112, [&] {
        items = holder.items();
        count = Required(items).count();
    });
    for (int j = 1; j <= count && !stopRequested(); ++j) {
        place_.setItem(j);
        guard.step(114, [&] { facilities_.events.processEvents(); });
        std::shared_ptr<Item> item;
        guard.step(116, [&] { item = items->item(j); });
        if (item)
            considerItem(guard, holder, *item);
    }
    place_.setItem(0);
}

void MailWalk::considerItem(Guard &guard, Folder &holder, Item &item) {
    // The class is read before its step: whether its failure is reported depends on whether
    // anything else of the item can be read.
    int itemClass = 0;
    const auto classFailure = CaughtFailure([&] { itemClass = item.Class(); });
    if (classFailure && SubjectAndSenderUnreadable(item)) {
        unreadable_.add(place_, *classFailure);
        return;
    }
    if (!guard.test(118, [&] {
            if (classFailure)
                throw *classFailure;
            return itemClass == outlook::olMail;
        }))
        return;
    if (scope_.search && scope_.search->active() &&
        !guard.test(120, [&] { return scope_.search->passes(item); }))
        return;
    taker_.take(guard, place_, holder, item);
}

} // namespace qb::mail
