#pragma once

#include "failure/caught_failure.h"
#include "failure/failure.h"

#include <optional>

namespace qb::outlook {

/// One read of an item's property made outside a guarded step: its value, or the failure it
/// threw (turned into a Failure as the guard would), kept so that a later step can raise it
/// again when it is to be reported after all.
template <typename T> class PropertyRead {
  public:
    template <typename Read> explicit PropertyRead(Read &&read) {
        failure_ = CaughtFailure([&] { value_ = read(); });
    }

    bool failed() const { return failure_.has_value(); }
    /// The failure the read threw; only when failed().
    const Failure &failure() const { return *failure_; }
    /// The value read; throws the read's failure again when it failed.
    const T &value() const {
        if (failure_)
            throw *failure_;
        return value_;
    }

  private:
    T value_{};
    std::optional<Failure> failure_;
};

} // namespace qb::outlook
