#pragma once

#include "platform/message_boxes.h"
#include "platform/registry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// modRegistry: read-only registry reading by full textual key paths such as
// "HKEY_CURRENT_USER\Identities".
namespace qb::express {

/// A full key path cut into its root and the subkey path below it.
struct KeyPath {
    RegistryRoot root = RegistryRoot::None;
    std::string subKeyPath;
};

/// The item of one registry value: text for the string and binary types, a number for a dword.
using KeyValue = std::variant<std::string, std::int32_t>;

/// The values of a key in enumeration order, each under its name; lookups ignore letter case.
class KeyValues {
  public:
    void add(std::string name, KeyValue item);
    bool empty() const { return items_.empty(); }
    std::size_t size() const { return items_.size(); }
    const std::vector<std::pair<std::string, KeyValue>> &items() const { return items_; }
    /// The item stored under the name; throws Failure (invalid procedure call) when there is none,
    /// as a collection does for a missing key.
    const KeyValue &item(std::string_view name) const;

  private:
    std::vector<std::pair<std::string, KeyValue>> items_;
};

/// The item as text: a number in decimal digits.
std::string KeyValueText(const KeyValue &item);

/// The predefined root of the name, spelled exactly; RegistryRoot::None for any other text.
RegistryRoot RootKeyFromName(std::string_view name);

/// Cuts the path at its first "\". A path that does not begin with "HKEY_" or that ends in "\"
/// shows "Incorrect Format:" and the path, and gives no root and the path unchanged.
KeyPath SplitKeyPath(TitledMessageBoxes &messages, const std::string &strKeyPath);

/// The subkey names of the key in enumeration order; empty when the path is malformed (told
/// through messages, as SplitKeyPath does) or the key cannot be found. Throws Failure when the
/// enumeration fails, a name too long for the 260-character name buffer included.
std::vector<std::string> GetSubKeys(TitledMessageBoxes &messages, Registry &registry,
                                    const std::string &strKeyPath);

/// The values of the key, converted by type; empty when the path is malformed or the key cannot
/// be found. A value whose name does not fit the 260-character name buffer ends the enumeration.
KeyValues GetKeyValues(TitledMessageBoxes &messages, Registry &registry,
                       const std::string &strKeyPath);

} // namespace qb::express
