#include "platform/controls/control.h"

namespace qb {

std::string Control::accessibleName() const {
    if (!accessibleName_.empty())
        return accessibleName_;
    if (!caption_.empty() || !container_)
        return caption_;
    return container_->caption();
}

} // namespace qb
