#pragma once

#include "platform/registry.h"

#include <memory>
#include <string>

namespace qb {

class RegistryHive;

/// The registry of a Wine prefix, read from its registry files: HKEY_CURRENT_USER is user.reg,
/// HKEY_LOCAL_MACHINE system.reg, HKEY_USERS holds userdef.reg as ".Default"; HKEY_CLASSES_ROOT
/// and HKEY_CURRENT_CONFIG are keys of HKEY_LOCAL_MACHINE; the other roots are empty. Each file
/// is read once, when a key of its root is first opened. Without the prefix folder no key opens.
class WineRegistry : public Registry {
  public:
    /// The registry of the prefix folder, for the user with the login name.
    WineRegistry(std::string prefix, std::string loginName);
    ~WineRegistry() override;

    std::unique_ptr<RegistryKey> open(RegistryRoot root, const std::string &subKeyPath) override;
    /// "C:\users\" + the login name, the profile folder Wine gives the user.
    std::string userProfile() override;

  private:
    enum class Hive { User, Machine, Users, Empty };
    const std::shared_ptr<const RegistryHive> &hive(Hive which);

    std::string prefix_;
    std::string loginName_;
    std::shared_ptr<const RegistryHive> hives_[4];
};

/// The user's login name as Wine takes it: the password database's entry for the user, else
/// $USER; empty when neither names one.
std::string WineLoginName();

/// The registry of the user's Wine prefix (see WinePrefix) under the user's login name.
std::unique_ptr<WineRegistry> UserWineRegistry();

} // namespace qb
