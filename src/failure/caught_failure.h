#pragma once

#include "failure/failure.h"

#include <exception>
#include <new>
#include <optional>

namespace qb {

/// Runs body and gives what it threw as a Failure, or nothing when it returned. A Failure comes
/// as it was thrown; running out of memory becomes the run-time's "Out of memory" (7), and any
/// other standard exception an "Invalid procedure call" (5) that carries its text. This is the
/// one place where exceptions become failures: the guard reports what it gives, and readers
/// that keep a failure for later hold what it gives.
template <typename Body> std::optional<Failure> CaughtFailure(Body &&body) {
    try {
        body();
    } catch (const Failure &failure) {
        return failure;
    } catch (const std::bad_alloc &) {
        return Failure(error_number::outOfMemory, programSource, "Out of memory");
    } catch (const std::exception &other) {
        return Failure(error_number::invalidProcedureCall, programSource, other.what());
    }
    return std::nullopt;
}

} // namespace qb
