#pragma once

#include "outlook/outlook_api.h"

#include <memory>
#include <string>

namespace qb {

/// The Outlook object model over Outlook data files (.pst/.ost) read with libpff. The profile's
/// stores are the data files directly inside the profile folder ("Outlook Files").
class PffMailStoreLayer : public outlook::MailStoreLayer {
  public:
    explicit PffMailStoreLayer(std::string profileFolder);
    ~PffMailStoreLayer() override;

    /// A new application object; never fails.
    std::shared_ptr<outlook::Application> createApplication() override;

  private:
    std::string profileFolder_;
};

} // namespace qb
