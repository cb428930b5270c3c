#include "outlook/outlook_listing.h"

namespace qb::outlook {

OutlookListing::OutlookListing(Platform &platform, ListingControls controls)
    : platform_(platform), controls_(controls) {}

void OutlookListing::PushButton1_Click() {
    Guard guard(platform_.reporter, "Form1", "PushButton1_Click");
    if (guard.test(100, [&] { return !IsOutlookInstalled(platform_.outlook); })) {
        guard.step(102, [&] {
            MsgBox(platform_, "MS Outlook does not appear to be installed on "
                              "this computer.");
        });
        return;
    }
    if (!pstFileIsUsable(guard, 104))
        return;
    guard.step(114, [&] { controls_.ListView1.clear(); });
    guard.step(116, [&] { controls_.ListView1.refresh(); });
    guard.step(118, [&] { getAllEmailOutlook(); });
}

void OutlookListing::PushButton2_Click() {
    Guard guard(platform_.reporter, "Form1", "PushButton2_Click");
    if (!pstFileIsUsable(guard, 100))
        return;
    guard.step(110, [&] { controls_.ListView1.clear(); });
    guard.step(112, [&] { controls_.ListView1.refresh(); });
    guard.step(114, [&] { state_.bSearchMode = true; });
    guard.step(116, [&] { getAllEmailOutlook(); });
}

void OutlookListing::PushButton5_Click() {
    Guard guard(platform_.reporter, "Form1", "PushButton5_Click");
    int rows = 0;
    guard.step(100, [&] { rows = controls_.ListView1.rowCount(); });
    for (int row = 1; row <= rows; ++row)
        guard.step(102, [&] { controls_.ListView1.setChecked(row, true); });
}

void OutlookListing::PushButton6_Click() {
    Guard guard(platform_.reporter, "Form1", "PushButton6_Click");
    int rows = 0;
    guard.step(100, [&] { rows = controls_.ListView1.rowCount(); });
    for (int row = 1; row <= rows; ++row)
        guard.step(102, [&] { controls_.ListView1.setChecked(row, false); });
}

void OutlookListing::PushButton8_Click() {
    Guard guard(platform_.reporter, "Form1", "PushButton8_Click");
    FileDialogRequest request;
    guard.step(100, [&] { request.fileName.clear(); });
    guard.step(102, [&] { request.title = "Select PST File"; });
    guard.step(104, [&] { request.filter = "All PST Files (*.pst)|*.pst|"; });
    std::string chosen;
    guard.step(106, [&] { chosen = platform_.fileDialogs.open(request); });
    guard.step(108, [&] {
        if (!chosen.empty())
            controls_.Text2.setText(chosen);
    });
}

} // namespace qb::outlook
