#include "outlook/outlook_listing.h"

// Placeholder until the listing lands.
namespace qb::outlook {

OutlookListing::OutlookListing(Platform &platform, ListingControls controls)
    : platform_(platform), controls_(controls) {}
void OutlookListing::PushButton1_Click() {}
void OutlookListing::getAllEmailOutlook() {}
void OutlookListing::GetMailItems(std::int16_t, const std::shared_ptr<Folder> &, bool &) {}
void OutlookListing::PushButton2_Click() {}
void OutlookListing::PushButton5_Click() {}
void OutlookListing::PushButton6_Click() {}
void OutlookListing::PushButton8_Click() {}

void KillProcess(Processes &, const std::string &) {}

} // namespace qb::outlook
