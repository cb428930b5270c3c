#pragma once

#include "platform/registry.h"

#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qb {

/// A tree of registry keys as Wine's registry files hold it. Subkeys and values keep the order in
/// which the file first names them; lookups by name ignore the letter case of ASCII letters.
class RegistryHive {
  public:
    struct Key {
        std::string name;
        std::vector<Key *> subKeys;
        std::vector<RegistryValue> values;
        std::unordered_map<std::string, Key *> subKeyByName;      // lower-case name
        std::unordered_map<std::string, std::size_t> valueByName; // lower-case name
    };

    RegistryHive() : keys_(1) {}
    RegistryHive(const RegistryHive &) = delete;
    RegistryHive &operator=(const RegistryHive &) = delete;

    Key &root() { return keys_.front(); }
    const Key &root() const { return keys_.front(); }
    /// The subkey of parent with the name, made when it is missing.
    Key &subKey(Key &parent, const std::string &name);
    /// The key at the "\"-separated path below from; null when a name is missing. Empty names
    /// (doubled or outer separators) are passed over.
    const Key *find(const Key &from, std::string_view path) const;
    /// Sets a value, taking the place of an earlier value with the same name.
    void setValue(Key &key, RegistryValue value);

  private:
    std::deque<Key> keys_; // a deque keeps every key where it is while keys are added
};

/// Reads the text of a Wine registry file ("WINE REGISTRY Version 2") into the hive, below the
/// key `under`. A damaged line, or a value outside any key, is passed over; text that does not
/// begin with the header line adds nothing. Runs in time linear in the text.
void ReadWineRegistryText(std::string_view text, RegistryHive &hive, RegistryHive::Key &under);

} // namespace qb
