#pragma once

#include "failure/failure.h"

#include <memory>

namespace qb {

/// Error number of a call on an object that a failed step never produced.
inline constexpr std::int32_t objectVariableNotSet = 91;

/// The object behind pointer; throws Failure when an earlier failed step left it unset, so that
/// every later step that needs it is reported instead of crashing.
template <typename T> T &Required(const std::shared_ptr<T> &pointer) {
    if (!pointer)
        throw Failure(objectVariableNotSet, programSource,
                      "Object variable or With block variable not set");
    return *pointer;
}

/// The same for a plain pointer.
template <typename T> T &Required(T *pointer) {
    if (!pointer)
        throw Failure(objectVariableNotSet, programSource,
                      "Object variable or With block variable not set");
    return *pointer;
}

} // namespace qb
