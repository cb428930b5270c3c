#include "failure/failure.h"

namespace qb {

Failure Failure::component(const std::string &className, const std::string &method) {
    return Failure(error_number::componentFailure, "Ferndock." + className + "." + method,
                   className + " component failure");
}

} // namespace qb
