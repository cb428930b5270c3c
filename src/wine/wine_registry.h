#pragma once

#include "platform/registry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qb {

class RegistryHive;

/// The registry of a Wine prefix, read from its registry files: HKEY_CURRENT_USER is user.reg,
/// HKEY_LOCAL_MACHINE system.reg, HKEY_USERS holds userdef.reg as ".Default"; HKEY_CLASSES_ROOT
/// and HKEY_CURRENT_CONFIG are keys of HKEY_LOCAL_MACHINE; the other roots are empty. A file is
/// read when a key of its root is first opened, and again whenever it has changed since (a prefix
/// made or Wine's registry rewritten while the program runs), so every search sees the registry
/// as it is now. Without the prefix folder no key opens.
class WineRegistry : public Registry {
  public:
    /// The registry of the prefix folder, for the user with the login name.
    WineRegistry(std::string prefix, std::string loginName);
    ~WineRegistry() override;

    std::unique_ptr<RegistryKey> open(RegistryRoot root, const std::string &subKeyPath) override;
    /// "C:\users\" + the login name, the profile folder Wine gives the user.
    std::string userProfile() override;

  private:
    /// What tells one version of a registry file from the next: Wine writes a new file and
    /// renames it into place, and any rewrite changes the time of the last change.
    struct FileStamp {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t changedSeconds = 0;
        std::int64_t changedNanoseconds = 0;
        bool operator==(const FileStamp &) const = default;
    };
    /// The stamp of the file as it is now; a file that cannot be looked at has the stamp of a
    /// missing one, and reading it tells why.
    static FileStamp stampOf(const std::string &path);

    enum class Hive { User, Machine, Users, Empty };
    /// A hive as read, and the stamp its file had before the reading.
    struct ReadHive {
        std::shared_ptr<const RegistryHive> hive;
        FileStamp stamp;
    };
    const std::shared_ptr<const RegistryHive> &hive(Hive which);

    std::string prefix_;
    std::string loginName_;
    ReadHive hives_[4];
};

/// The user's login name as Wine takes it: the password database's entry for the user, else
/// $USER; empty when neither names one.
std::string WineLoginName();

/// The registry of the user's Wine prefix (see WinePrefix) under the user's login name.
std::unique_ptr<WineRegistry> UserWineRegistry();

} // namespace qb
