#pragma once

#include "platform/outlook_api.h"

#include <memory>
#include <string>

namespace qb {

class PffStoreCatalog;

/// The application object of the libpff mail store: version "16.0" and one "MAPI" namespace,
/// whose profile is the data files in the profile folder when it is first asked for.
class PffApplication : public outlook::Application {
  public:
    PffApplication(std::shared_ptr<PffStoreCatalog> catalog, std::string profileFolder);

    std::string Version() override { return "16.0"; }
    /// The namespace for "MAPI" (any letter case); throws Failure for any other type.
    std::shared_ptr<outlook::Namespace> GetNamespace(const std::string &type) override;

  private:
    std::shared_ptr<PffStoreCatalog> catalog_;
    std::string profileFolder_;
    std::shared_ptr<outlook::Namespace> namespace_;
};

} // namespace qb
