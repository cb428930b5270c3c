#include "platform/linux/pff_mail_store.h"

namespace qb {

PffMailStoreLayer::PffMailStoreLayer(std::string profileFolder)
    : profileFolder_(std::move(profileFolder)) {}

PffMailStoreLayer::~PffMailStoreLayer() = default;

std::shared_ptr<outlook::Application> PffMailStoreLayer::createApplication() { return nullptr; }

} // namespace qb
