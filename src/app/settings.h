#pragma once

#include "failure/failure.h"
#include "platform/message_boxes.h"
#include "platform/settings_store.h"

#include <cstdint>
#include <string>

namespace qb {

/// Typed access to the settings store. Reads go to the store every time; a value that cannot be
/// converted throws Failure 13 (type mismatch) or 6 (overflow). A write the store refuses is
/// told to the user once per run; the program keeps working with what is in the window.
class Settings {
  public:
    /// The values of store; its problems are told through messages.
    Settings(SettingsStore &store, TitledMessageBoxes &messages)
        : store_(store), messages_(messages) {}

    std::string text(const std::string &key, const std::string &fallback = std::string());
    /// "True"/"False" in any letter case, or a number: zero is false, any other number true.
    bool boolean(const std::string &key, const std::string &fallback);
    /// A number rounded to a 16-bit integer, halves to even.
    std::int16_t integer16(const std::string &key, const std::string &fallback);

    void write(const std::string &key, const std::string &value);
    /// Stores "True" or "False". A name of its own: beside write, a string literal would pick
    /// a bool overload.
    void writeBoolean(const std::string &key, bool value) { write(key, value ? "True" : "False"); }

  private:
    /// "Your settings cannot be <what> <file> (<why>)."
    std::string problem(const std::string &what, const Failure &failure) const;

    SettingsStore &store_;
    TitledMessageBoxes &messages_;
    bool writeFailureShown_ = false;
    bool readFailureShown_ = false;
};

/// Conversions of stored texts, as the settings reader applies them.
bool ToBoolean(const std::string &text);
std::int16_t ToInteger16(const std::string &text);

} // namespace qb
