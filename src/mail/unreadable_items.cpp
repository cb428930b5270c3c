#include "mail/unreadable_items.h"

namespace qb::mail {
namespace {

/// How many unreadable items the report names; the rest it only counts.
constexpr std::size_t namedItems = 3;

} // namespace

void UnreadableItems::add(const WalkPlace &place, const Failure &classFailure) {
    ++count_;
    if (!firstFailure_)
        firstFailure_ = classFailure;
    // Only the first few are named, so only their paths are worth the folder-name reads.
    if (firstPlaces_.size() < namedItems) {
        const std::string path = place.folderPath();
        firstPlaces_.push_back((path.empty() ? "the top folder" : path) + ", item " +
                               std::to_string(place.item()));
    }
}

void UnreadableItems::checkAllRead(const std::string &storeName,
                                   const std::string &takenMeans) const {
    if (count_ == 0)
        return;
    const bool one = count_ == 1;
    std::string text = std::to_string(count_) + (one ? " item" : " items") + " of the store \"" +
                       storeName + "\" could not be read and " + (one ? "is" : "are") + " not " +
                       takenMeans + ": ";
    for (std::size_t i = 0; i < firstPlaces_.size(); ++i)
        text += (i == 0 ? "" : "; ") + firstPlaces_[i];
    const int unnamed = count_ - static_cast<int>(firstPlaces_.size());
    if (unnamed > 0)
        text += " and " + std::to_string(unnamed) + " more";
    text += ". The first failed with: " + firstFailure_->description();
    throw Failure(firstFailure_->number(), firstFailure_->source(), text);
}

} // namespace qb::mail
