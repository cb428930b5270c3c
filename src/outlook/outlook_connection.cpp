#include "outlook/outlook_listing.h"

namespace qb::outlook {

bool IsOutlookInstalled(MailStoreLayer &layer) {
    try {
        return layer.createApplication() != nullptr;
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace qb::outlook
