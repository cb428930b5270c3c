#include "outlook/listing_progress.h"

#include "platform/controls/status_text.h"

namespace qb::outlook {

ListingProgress::ListingProgress(WindowModel &window, ListingKind kind, const ListView &list)
    : action_(window), kind_(kind), list_(list) {
    // The last run's count would otherwise stand until the first store opens.
    action_.showStatus("Opening the mail stores");
}

void ListingProgress::enterStore(const std::string &name, int number, int count) {
    place_ = name;
    if (count > 0)
        place_ += " (store " + std::to_string(number) + " of " + std::to_string(count) + ")";
    showRows();
}

void ListingProgress::showRows() {
    const char *verb = kind_ == ListingKind::Search ? "Searching " : "Listing ";
    action_.showStatus(verb + place_ + ", " + rowsText());
}

std::string ListingProgress::rowsText() const {
    const std::string rows = CountOf(list_.rowCount(), "message");
    return kind_ == ListingKind::Search ? rows + " found" : rows;
}

void ListingProgress::finish() {
    const std::string rows = CountOf(list_.rowCount(), "message");
    if (stopRequested())
        action_.showStatus("Stopped after " + rows);
    else
        action_.showStatus((kind_ == ListingKind::Search ? "Found " : "Listed ") + rows);
}

std::string StoreDisplayName(const std::string &filePath, const std::string &rootName) {
    const std::size_t slash = filePath.find_last_of('/');
    const std::string fileName = slash == std::string::npos ? filePath : filePath.substr(slash + 1);
    return fileName.empty() ? rootName : fileName;
}

} // namespace qb::outlook
