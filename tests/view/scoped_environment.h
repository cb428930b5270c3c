#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace qb::test {

/// Sets (or, with nullopt, unsets) an environment variable for one test and restores it after.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const char *name, std::optional<std::string> value) : name_(name) {
        if (const char *old = std::getenv(name))
            saved_ = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnvironment(const ScopedEnvironment &) = delete;
    ScopedEnvironment &operator=(const ScopedEnvironment &) = delete;

  private:
    const char *name_;
    std::optional<std::string> saved_;
};

} // namespace qb::test
