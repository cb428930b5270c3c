#pragma once

#include "failure/failure.h"
#include "mail/walk_place.h"

#include <optional>
#include <string>
#include <vector>

namespace qb::mail {

/// The items of one store that could not be read at all. Such items get no report of their own,
/// since every part of theirs would fail; one report at the end of the store counts them.
class UnreadableItems {
  public:
    /// Forgets the items of the store before.
    void clear() { *this = UnreadableItems(); }

    /// Notes the item the walk is at; classFailure is what reading its class threw.
    void add(const WalkPlace &place, const Failure &classFailure);

    /// Throws a Failure that says how many items of the store could not be read and where the
    /// first few lie, when there were any. takenMeans says what was not done with them
    /// ("listed").
    void checkAllRead(const std::string &storeName, const std::string &takenMeans) const;

  private:
    int count_ = 0;
    std::vector<std::string> firstPlaces_;
    std::optional<Failure> firstFailure_;
};

} // namespace qb::mail
