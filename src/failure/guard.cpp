#include "failure/guard.h"

namespace qb {

Guard::Guard(FailureReporter &reporter, const std::string &object, const std::string &procedure)
    : reporter_(reporter), path_("Ferndock2021/08/31." + object + "." + procedure) {}

void Guard::report(const Failure &failure) {
    if (stopped_)
        return;
    if (filter_ && filter_(failure) == AfterFailure::Stop) {
        stopped_ = true;
        return;
    }
    const std::string extra = extraLine_ ? extraLine_() : std::string();
    reporter_.report(failure, path_, line_, extra);
}

} // namespace qb
