#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qb {

/// The seven predefined root keys, by the handle numbers Windows gives them; `None` stands for a
/// name that is no root.
enum class RegistryRoot : std::uint32_t {
    None = 0,
    ClassesRoot = 0x80000000u,
    CurrentUser = 0x80000001u,
    LocalMachine = 0x80000002u,
    Users = 0x80000003u,
    PerformanceData = 0x80000004u,
    CurrentConfig = 0x80000005u,
    DynData = 0x80000006u,
};

/// Registry value types by their Windows numbers.
namespace registry_type {
inline constexpr std::uint32_t none = 0;
inline constexpr std::uint32_t string = 1;       // REG_SZ
inline constexpr std::uint32_t expandString = 2; // REG_EXPAND_SZ
inline constexpr std::uint32_t binary = 3;       // REG_BINARY
inline constexpr std::uint32_t dword = 4;        // REG_DWORD
inline constexpr std::uint32_t link = 6;         // REG_LINK
inline constexpr std::uint32_t multiString = 7;  // REG_MULTI_SZ
} // namespace registry_type

/// One value of a key as the ANSI enumeration hands it out: string types (1, 2 and 7) hold
/// UTF-8 text with its terminating NUL, every other type its bytes as stored.
struct RegistryValue {
    std::string name; // empty for the key's default value
    std::uint32_t type = registry_type::none;
    std::string data;
};

/// An open key. Enumeration goes by index in the registry's own order; an index past the last
/// item gives no item, which is how "no more items" differs from a failure (a Failure thrown).
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    /// The name of the subkey at index, or nothing when there are no more subkeys.
    virtual std::optional<std::string> subKeyName(std::size_t index) const = 0;
    /// The value at index, or nothing when there are no more values.
    virtual std::optional<RegistryValue> value(std::size_t index) const = 0;
};

/// Read-only access to the registry.
class Registry {
  public:
    virtual ~Registry() = default;
    /// Opens the key at subKeyPath ("\"-separated names compared without regard to letter case,
    /// empty for the root itself) under root. Null when there is no such key; throws Failure
    /// when the registry cannot be read.
    virtual std::unique_ptr<RegistryKey> open(RegistryRoot root, const std::string &subKeyPath) = 0;
    /// What "%UserProfile%" expands to: the user's profile folder as Windows programs see it.
    /// Throws Failure when it cannot be told.
    virtual std::string userProfile() = 0;
};

} // namespace qb
