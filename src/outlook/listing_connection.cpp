#include "failure/required_object.h"
#include "outlook/attached_store.h"
#include "outlook/message_text.h"
#include "outlook/outlook_listing.h"

#include <optional>

namespace qb::outlook {
namespace {

/// Takes the root's name for the Root cells. A name that cannot be read leaves them empty: the
/// rows of this store must never carry the previous store's name.
void SetRootFolder(std::string &strRootFolder, Folder &root) {
    strRootFolder.clear();
    strRootFolder = root.name();
}

} // namespace

void OutlookListing::getAllEmailOutlook() {
    Guard guard(platform_.reporter, "Form1", "getAllEmailOutlook");
    guard.step(100, [&] { controls_.window.setPointer(MousePointer::Busy); });
    guard.step(102, [&] { platform_.clock.sleep(1000); });
    std::shared_ptr<Application> application;
    guard.step(104, [&] { application = platform_.outlook.createApplication(); });
    guard.step(106,
               [&] { state_.iOutlookVersion = MajorVersion(Required(application).Version()); });
    std::shared_ptr<Namespace> mapi;
    guard.step(108, [&] { mapi = Required(application).GetNamespace("MAPI"); });
    if (guard.test(110, [&] { return controls_.Option3.value(); }))
        listProfileStores(guard, mapi.get());
    else if (guard.test(124, [&] { return controls_.Option4.value(); }))
        listPstFile(guard, mapi.get());
    guard.step(136, [&] {
        mapi.reset();
        application.reset();
    });
    guard.step(138, [&] { controls_.window.setPointer(MousePointer::Default); });
    guard.step(140, [&] { state_.bSearchMode = false; });
    guard.step(142, [&] { MsgBox(platform_, "Done."); });
}

void OutlookListing::listProfileStores(Guard &guard, Namespace *mapi) {
    int stores = 0;
    guard.step(112, [&] { stores = Required(Required(mapi).folders()).count(); });
    for (int i = 1; i <= stores; ++i) {
        guard.step(116, [&] { platform_.events.processEvents(); });
        std::shared_ptr<Folder> root;
        guard.step(118, [&] { root = Required(Required(mapi).folders()).item(i); });
        if (!root)
            continue; // reported; walking nothing beats walking the previous store again
        guard.step(120, [&] { SetRootFolder(state_.strRootFolder, *root); });
        bool recursive = true;
        guard.step(122, [&] { GetMailItems(1, root, recursive); });
    }
}

void OutlookListing::listPstFile(Guard &guard, Namespace *mapi) {
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
    bool recursive = true;
    guard.step(132, [&] { GetMailItems(1, attached.root, recursive); });
    // A store that was open before the listing belongs to the user's profile and stays there.
    if (attached.attachedByListing)
        guard.step(134, [&] { Required(mapi).RemoveStore(*attached.root); });
}

} // namespace qb::outlook
