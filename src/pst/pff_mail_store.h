#pragma once

#include "platform/outlook_api.h"

#include <memory>
#include <string>

namespace qb {

class EventPump;
class PffStoreCatalog;

/// The Outlook object model over Outlook data files (.pst/.ost) read with libpff. The profile's
/// stores are the data files directly inside the profile folder ("Outlook Files"). Every file
/// opened stays open until the layer and all objects from it are gone, so EntryIDs keep
/// resolving for the whole run.
class PffMailStoreLayer : public outlook::MailStoreLayer {
  public:
    /// With the window's events, they keep running while a store is opened.
    explicit PffMailStoreLayer(std::string profileFolder, EventPump *events = nullptr);
    ~PffMailStoreLayer() override;

    /// A new application object sharing this layer's opened files; never fails.
    std::shared_ptr<outlook::Application> createApplication() override;

  private:
    std::string profileFolder_;
    std::shared_ptr<PffStoreCatalog> catalog_;
};

} // namespace qb
