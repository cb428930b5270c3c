#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qb {

/// Predefined root keys of the registry, by their handle values.
enum class RegistryRoot : std::uint32_t {
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

/// One value of a key: its name, registry type (1 string, 2 expandable string, 3 binary,
/// 4 double word, ...) and raw data bytes.
struct RegistryValue {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
};

/// An open key; closed when the last holder lets it go.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    /// Name of subkey number index (from 0), or nothing past the last one. Throws Failure when
    /// the enumeration fails otherwise.
    virtual std::optional<std::string> subkeyName(std::uint32_t index) = 0;
    /// Value number index (from 0), or nothing past the last one.
    virtual std::optional<RegistryValue> value(std::uint32_t index) = 0;
};

/// Read-only access to the registry.
class Registry {
  public:
    virtual ~Registry() = default;
    /// Opens subkey (names compared without regard to case) under root for reading; null when
    /// the key is missing or cannot be read.
    virtual std::shared_ptr<RegistryKey> open(RegistryRoot root, const std::string &subkey) = 0;
};

} // namespace qb
