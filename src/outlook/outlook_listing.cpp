#include "outlook/outlook_listing.h"

#include "outlook/row_checks.h"

namespace qb::outlook {
namespace {

/// Where the PST file picker opens: the folder of the file chosen last when it is still there,
/// else the profile folder when there is one, else nowhere in particular (the dialog's own
/// choice, never the working folder).
std::string PickerFolder(FileSystem &files, const std::string &lastFile,
                         const std::string &profileFolder) {
    const std::size_t slash = lastFile.rfind('/');
    if (slash != std::string::npos) {
        const std::string folder = slash == 0 ? "/" : lastFile.substr(0, slash);
        if (files.isFolder(folder))
            return folder;
    }
    return files.isFolder(profileFolder) ? profileFolder : std::string();
}

} // namespace

ListingFacilities ListingFacilitiesOf(Platform &platform) {
    return {platform.reporter, platform.events,   platform.clock,
            platform.locale,   platform.messages, platform.fileDialogs,
            platform.files,    platform.outlook,  OutlookProfileFolder(platform.specialFolders)};
}

OutlookListing::OutlookListing(ListingFacilities facilities, ListingControls controls)
    : facilities_(facilities), controls_(controls) {}

void OutlookListing::showMessage(const std::string &text) {
    facilities_.messages.show(text);
}

void OutlookListing::listMessages() {
    Guard guard(facilities_.reporter, listing_procedure::listMessages);
    if (guard.test(100, [&] { return !IsOutlookInstalled(facilities_.mailStores); })) {
        guard.step(102, [&] {
            showMessage("MS Outlook does not appear to be installed on this computer.");
        });
        return;
    }
    if (!pstFileIsUsable(guard, 104))
        return;
    guard.step(114, [&] { controls_.ListView1.clear(); });
    guard.step(116, [&] { controls_.ListView1.refresh(); });
    guard.step(118, [&] { listChosenSource(); });
}

void OutlookListing::findMessages() {
    Guard guard(facilities_.reporter, listing_procedure::findMessages);
    if (!pstFileIsUsable(guard, 100))
        return;
    guard.step(110, [&] { controls_.ListView1.clear(); });
    guard.step(112, [&] { controls_.ListView1.refresh(); });
    guard.step(114, [&] { state_.bSearchMode = true; });
    guard.step(116, [&] { listChosenSource(); });
}

void OutlookListing::checkAllRows() {
    MarkAllRows(facilities_.reporter, controls_.ListView1, CheckMark::Set,
                listing_procedure::checkAllRows);
}

void OutlookListing::uncheckAllRows() {
    MarkAllRows(facilities_.reporter, controls_.ListView1, CheckMark::Clear,
                listing_procedure::uncheckAllRows);
}

void OutlookListing::pickPstFile() {
    Guard guard(facilities_.reporter, listing_procedure::pickPstFile);
    FileDialogRequest request;
    request.initialFolder =
        PickerFolder(facilities_.files, controls_.Text2.text(), facilities_.profileFolder);
    guard.step(100, [&] { request.fileName.clear(); });
    guard.step(102, [&] { request.title = "Select PST File"; });
    guard.step(104, [&] { request.filter = "All PST Files (*.pst)|*.pst|"; });
    std::string chosen;
    guard.step(106, [&] { chosen = facilities_.fileDialogs.open(request); });
    guard.step(108, [&] {
        if (!chosen.empty())
            controls_.Text2.setText(chosen);
    });
}

} // namespace qb::outlook
