#include "wine/wine_registry.h"

#include "failure/failure.h"
#include "wine/wine_paths.h"
#include "wine/wine_registry_file.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace qb {
namespace {

class WineRegistryKey : public RegistryKey {
  public:
    WineRegistryKey(std::shared_ptr<const RegistryHive> hive, const RegistryHive::Key &key)
        : hive_(std::move(hive)), key_(key) {}

    std::optional<std::string> subKeyName(std::size_t index) const override {
        if (index >= key_.subKeys.size())
            return std::nullopt;
        return key_.subKeys[index]->name;
    }

    std::optional<RegistryValue> value(std::size_t index) const override {
        if (index >= key_.values.size())
            return std::nullopt;
        return key_.values[index];
    }

  private:
    std::shared_ptr<const RegistryHive> hive_; // keeps the key alive
    const RegistryHive::Key &key_;
};

/// The file's text; empty when the file does not exist. Any other failure to read it throws, so
/// that an unreadable registry is never taken for an empty one.
std::string registryFileText(const std::string &path) {
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0 && errno == ENOENT)
        return std::string();
    std::string text;
    char buffer[65536];
    ssize_t count = file < 0 ? -1 : 0;
    while (file >= 0 && (count = ::read(file, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(count));
    const int error = errno;
    if (file >= 0)
        ::close(file);
    if (count < 0)
        throw Failure(error == EACCES || error == EPERM ? error_number::permissionDenied
                                                        : error_number::pathNotFound,
                      "Registry", std::string(std::strerror(error)) + ": " + path);
    return text;
}

std::shared_ptr<const RegistryHive> readHive(const std::string &path, const char *under) {
    auto hive = std::make_shared<RegistryHive>();
    const std::string text = registryFileText(path);
    if (under == nullptr)
        ReadWineRegistryText(text, *hive, hive->root());
    else if (!text.empty())
        ReadWineRegistryText(text, *hive, hive->subKey(hive->root(), under));
    return hive;
}

} // namespace

WineRegistry::WineRegistry(std::string prefix, std::string loginName)
    : prefix_(std::move(prefix)), loginName_(std::move(loginName)) {}

WineRegistry::~WineRegistry() = default;

WineRegistry::FileStamp WineRegistry::stampOf(const std::string &path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return {};
    return {true,
            static_cast<std::uint64_t>(info.st_dev),
            static_cast<std::uint64_t>(info.st_ino),
            static_cast<std::int64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_ctim.tv_sec),
            static_cast<std::int64_t>(info.st_ctim.tv_nsec)};
}

const std::shared_ptr<const RegistryHive> &WineRegistry::hive(Hive which) {
    ReadHive &slot = hives_[static_cast<int>(which)];
    if (which == Hive::Empty) {
        if (!slot.hive)
            slot.hive = std::make_shared<RegistryHive>();
        return slot.hive;
    }
    const std::string file = which == Hive::User      ? "/user.reg"
                             : which == Hive::Machine ? "/system.reg"
                                                      : "/userdef.reg";
    const FileStamp stamp = stampOf(prefix_ + file);
    if (slot.hive && slot.stamp == stamp)
        return slot.hive;
    // Keys handed out earlier keep the hive they were found in alive.
    slot.hive = readHive(prefix_ + file, which == Hive::Users ? ".Default" : nullptr);
    slot.stamp = stamp;
    return slot.hive;
}

std::unique_ptr<RegistryKey> WineRegistry::open(RegistryRoot root, const std::string &subKeyPath) {
    std::error_code error;
    if (prefix_.empty() || !std::filesystem::is_directory(prefix_, error))
        return nullptr;
    Hive which = Hive::Empty;
    std::string path = subKeyPath;
    switch (root) {
    case RegistryRoot::CurrentUser:
        which = Hive::User;
        break;
    case RegistryRoot::LocalMachine:
        which = Hive::Machine;
        break;
    case RegistryRoot::Users:
        which = Hive::Users;
        break;
    case RegistryRoot::ClassesRoot:
        which = Hive::Machine;
        path = "Software\\Classes\\" + subKeyPath;
        break;
    case RegistryRoot::CurrentConfig:
        which = Hive::Machine;
        path = "System\\CurrentControlSet\\Hardware Profiles\\Current\\" + subKeyPath;
        break;
    case RegistryRoot::PerformanceData:
    case RegistryRoot::DynData:
        break;
    case RegistryRoot::None:
        return nullptr;
    }
    const std::shared_ptr<const RegistryHive> &tree = hive(which);
    const RegistryHive::Key *key = tree->find(tree->root(), path);
    if (key == nullptr)
        return nullptr;
    return std::make_unique<WineRegistryKey>(tree, *key);
}

std::string WineRegistry::userProfile() {
    if (loginName_.empty())
        throw Failure(error_number::invalidProcedureCall, "Registry",
                      "The user's login name is unknown");
    return "C:\\users\\" + loginName_;
}

std::string WineLoginName() {
    if (const passwd *entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_name != nullptr)
        return entry->pw_name;
    const char *user = std::getenv("USER");
    return user != nullptr ? std::string(user) : std::string();
}

std::unique_ptr<WineRegistry> UserWineRegistry() {
    return std::make_unique<WineRegistry>(WinePrefix(), WineLoginName());
}

} // namespace qb
