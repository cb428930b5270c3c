#pragma once

#include "failure/failure.h"

#include <exception>
#include <new>
#include <optional>

namespace qb::outlook {

/// One read of an item's property made outside a guarded step: its value, or the failure it
/// threw (turned into a Failure as the guard would), kept so that a later step can raise it
/// again when it is to be reported after all.
template <typename T> class PropertyRead {
  public:
    template <typename Read> explicit PropertyRead(Read &&read) {
        try {
            value_ = read();
        } catch (const Failure &failure) {
            failure_ = failure;
        } catch (const std::bad_alloc &) {
            failure_ = Failure(error_number::outOfMemory, programSource, "Out of memory");
        } catch (const std::exception &other) {
            failure_ = Failure(error_number::invalidProcedureCall, programSource, other.what());
        }
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
