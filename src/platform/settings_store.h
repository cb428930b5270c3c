#pragma once

#include <string>

namespace qb {

/// The per-user store of named text values of application "Tarnwick", section "Quillbarrow".
/// Nothing is cached: every read goes to the store and every write reaches it at once.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    /// The stored text, or fallback when the key is absent.
    virtual std::string read(const std::string &key, const std::string &fallback) = 0;
    /// Stores the text; throws Failure when the store cannot be written.
    virtual void write(const std::string &key, const std::string &value) = 0;
    /// Where the values live, for messages to the user.
    virtual std::string location() const = 0;
};

} // namespace qb
