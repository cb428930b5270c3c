#include "failure/caught_failure.h"
#include "failure/required_object.h"
#include "outlook/attached_store.h"
#include "outlook/message_text.h"
#include "outlook/outlook_listing.h"
#include "outlook/search_filter.h"

#include <optional>

namespace qb::outlook {
namespace {

/// Takes the root's name for the Root cells. A name that cannot be read leaves them empty: the
/// rows of this store must never carry the previous store's name.
void SetRootFolder(std::string &strRootFolder, Folder &root) {
    strRootFolder.clear();
    strRootFolder = root.name();
}

/// The file of the profile's store number i, for the status line only: a store that cannot tell
/// is named by its root folder instead, and its listing goes on.
std::string StoreFileOf(Namespace &mapi, int i) {
    std::string path;
    if (CaughtFailure([&] { path = Required(mapi.folders()).storeFilePath(i); }))
        return std::string();
    return path;
}

} // namespace

mail::WalkScope OutlookListing::walkScope(const ListingProgress &progress) {
    mail::WalkScope scope;
    // Both are read afresh for every message, as a listing started from a yield may change them.
    scope.search = mail::MessageSearch{[this] { return state_.bSearchMode; },
                                       [this](Item &item) { return passesSearch(item); }};
    scope.stopRequested = [&progress] { return progress.stopRequested(); };
    return scope;
}

bool OutlookListing::passesSearch(Item &item) {
    return PassesSearchFilter(item, controls_.Text1.text(), state_.iOutlookVersion,
                              facilities_.locale);
}

void OutlookListing::listChosenSource() {
    Guard guard(facilities_.reporter, listing_procedure::listChosenSource);
    ListingProgress progress(controls_.window,
                             state_.bSearchMode ? ListingKind::Search : ListingKind::Everything,
                             controls_.ListView1);
    progress_ = &progress;
    // take() shows the count only while this listing runs, however it ends.
    const struct Forget {
        ListingProgress *&progress;
        ~Forget() { progress = nullptr; }
    } forget{progress_};
    guard.step(100, [&] { controls_.window.setPointer(MousePointer::Busy); });
    guard.step(102, [&] { facilities_.clock.sleep(1000); });
    std::shared_ptr<Application> application;
    guard.step(104, [&] { application = facilities_.mailStores.createApplication(); });
    guard.step(106,
               [&] { state_.iOutlookVersion = MajorVersion(Required(application).Version()); });
    std::shared_ptr<Namespace> mapi;
    guard.step(108, [&] { mapi = Required(application).GetNamespace("MAPI"); });
    mail::MailWalk walk({facilities_.reporter, facilities_.events}, walkScope(progress), *this);
    if (guard.test(110, [&] { return controls_.Option3.value(); }))
        listProfileStores(guard, mapi.get(), walk);
    else if (guard.test(124, [&] { return controls_.Option4.value(); }))
        listPstFile(guard, mapi.get(), walk);
    guard.step(136, [&] {
        mapi.reset();
        application.reset();
    });
    guard.step(138, [&] { controls_.window.setPointer(MousePointer::Default); });
    guard.step(140, [&] { state_.bSearchMode = false; });
    progress.finish();
    guard.step(142, [&] { showMessage("Done."); });
}

void OutlookListing::listProfileStores(Guard &guard, Namespace *mapi, mail::MailWalk &walk) {
    int stores = 0;
    guard.step(112, [&] { stores = Required(Required(mapi).folders()).count(); });
    for (int i = 1; i <= stores && !progress_->stopRequested(); ++i) {
        guard.step(116, [&] { facilities_.events.processEvents(); });
        std::shared_ptr<Folder> root;
        guard.step(118, [&] { root = Required(Required(mapi).folders()).item(i); });
        if (!root)
            continue; // reported; walking nothing beats walking the previous store again
        guard.step(120, [&] { SetRootFolder(state_.strRootFolder, *root); });
        progress_->enterStore(StoreDisplayName(StoreFileOf(*mapi, i), state_.strRootFolder), i,
                              stores);
        guard.step(122, [&] { walk.walkStore(root, state_.strRootFolder); });
    }
}

void OutlookListing::listPstFile(Guard &guard, Namespace *mapi, mail::MailWalk &walk) {
    // Text2 is read once: a second action started from a yield may change it meanwhile.
    const std::string path = controls_.Text2.text();
    std::optional<std::vector<std::string>> storesBefore;
    guard.step(126, [&] { storesBefore = RootStoreFiles(Required(mapi)); });
    bool attachRefused = false;
    guard.step(126, [&] {
        attachRefused = true;
        Required(mapi).AddStore(path);
        attachRefused = false;
    });
    AttachedRoot attached;
    guard.step(128, [&] {
        attached = FindAttachedRoot(Required(mapi), path, storesBefore);
        // A refused attach has been reported already; a second report would say the same.
        if (!attached.root && !attachRefused)
            throw Failure(error_number::fileNotFound, programSource,
                          "The folders of " + path + " are not in the profile.");
    });
    if (!attached.root)
        return;
    guard.step(130, [&] { SetRootFolder(state_.strRootFolder, *attached.root); });
    progress_->enterStore(StoreDisplayName(path, state_.strRootFolder), 1, 0);
    guard.step(132, [&] { walk.walkStore(attached.root, state_.strRootFolder); });
    // A store that was open before the listing belongs to the user's profile and stays there.
    if (attached.attachedByListing)
        guard.step(134, [&] { Required(mapi).RemoveStore(*attached.root); });
}

} // namespace qb::outlook
