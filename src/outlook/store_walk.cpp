#include "outlook/store_walk.h"

#include "outlook/property_read.h"

namespace qb::outlook {
namespace {

/// How many unreadable items the report names; the rest it only counts.
constexpr std::size_t namedItems = 3;

} // namespace

void StoreWalk::addUnreadable(int position, const Failure &classFailure) {
    ++unreadableCount_;
    if (!firstFailure_)
        firstFailure_ = classFailure;
    // Only the first few are named, so only their paths are worth the folder-name reads.
    if (firstUnreadable_.size() < namedItems)
        firstUnreadable_.push_back(folderPath() + ", item " + std::to_string(position));
}

void StoreWalk::checkAllRead() const {
    if (unreadableCount_ == 0)
        return;
    const bool one = unreadableCount_ == 1;
    std::string text = std::to_string(unreadableCount_) + (one ? " item" : " items") +
                       " of the store \"" + storeName_ + "\" could not be read and " +
                       (one ? "is" : "are") + " not listed: ";
    for (std::size_t i = 0; i < firstUnreadable_.size(); ++i)
        text += (i == 0 ? "" : "; ") + firstUnreadable_[i];
    const int unnamed = unreadableCount_ - static_cast<int>(firstUnreadable_.size());
    if (unnamed > 0)
        text += " and " + std::to_string(unnamed) + " more";
    text += ". The first failed with: " + firstFailure_->description();
    throw Failure(firstFailure_->number(), firstFailure_->source(), text);
}

std::string StoreWalk::folderPath() const {
    std::string path;
    for (std::size_t i = 0; i < folders_.size(); ++i) {
        // The path only helps the user find the items; a name that cannot be read is marked
        // rather than reported on top of the report it is for.
        const PropertyRead<std::string> name([&] { return folders_[i]->name(); });
        path += (i == 0 ? "" : "/") + (name.failed() ? std::string("?") : name.value());
    }
    return path;
}

} // namespace qb::outlook
