#include "pst/pff_mail_store.h"

#include "pst/pff_application.h"
#include "pst/pff_store_catalog.h"

namespace qb {

PffMailStoreLayer::PffMailStoreLayer(std::string profileFolder, EventPump *events)
    : profileFolder_(std::move(profileFolder)),
      catalog_(std::make_shared<PffStoreCatalog>(events)) {}

PffMailStoreLayer::~PffMailStoreLayer() = default;

std::shared_ptr<outlook::Application> PffMailStoreLayer::createApplication() {
    return std::make_shared<PffApplication>(catalog_, profileFolder_);
}

} // namespace qb
