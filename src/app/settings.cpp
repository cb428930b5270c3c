#include "app/settings.h"
#include "text/plain_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>

namespace qb {
namespace {

Failure typeMismatch() {
    return Failure(error_number::typeMismatch, programSource, "Type mismatch");
}

std::optional<double> number(const std::string &text) {
    const std::string value = Trimmed(text, " \t");
    if (value.empty())
        return std::nullopt;
    char *end = nullptr;
    const double result = std::strtod(value.c_str(), &end);
    if (end != value.c_str() + value.size() || !std::isfinite(result))
        return std::nullopt;
    return result;
}

} // namespace

bool ToBoolean(const std::string &text) {
    const std::string word = LowerCase(Trimmed(text));
    if (word == "true")
        return true;
    if (word == "false")
        return false;
    const auto value = number(text);
    if (!value)
        throw typeMismatch();
    return *value != 0;
}

std::int16_t ToInteger16(const std::string &text) {
    const auto value = number(text);
    if (!value)
        throw typeMismatch();
    const double rounded = std::nearbyint(*value); // the default rounding mode rounds to even
    if (rounded < -32768 || rounded > 32767)
        throw Failure(error_number::overflow, programSource, "Overflow");
    return static_cast<std::int16_t>(rounded);
}

std::string Settings::problem(const std::string &what, const Failure &failure) const {
    const std::string location = store_.location();
    std::string text = "Your settings cannot be " + what + " " + location;
    // The store's own description often names the file already.
    if (failure.description().find(location) == std::string::npos)
        text += " (" + failure.description() + ")";
    return text + ".";
}

std::string Settings::text(const std::string &key, const std::string &fallback) {
    try {
        return store_.read(key, fallback);
    } catch (const Failure &failure) {
        if (!readFailureShown_) {
            readFailureShown_ = true;
            messages_.show(problem("read from", failure) +
                               "\r\nThe program goes on working with its default settings.",
                           MessageButtons::Ok, MessageIcon::Exclamation);
        }
        return fallback;
    }
}

bool Settings::boolean(const std::string &key, const std::string &fallback) {
    return ToBoolean(text(key, fallback));
}

std::int16_t Settings::integer16(const std::string &key, const std::string &fallback) {
    return ToInteger16(text(key, fallback));
}

void Settings::write(const std::string &key, const std::string &value) {
    try {
        store_.write(key, value);
    } catch (const Failure &failure) {
        if (writeFailureShown_)
            return;
        writeFailureShown_ = true;
        messages_.show(problem("saved to", failure) +
                           "\r\nThe program goes on working, but your changes will not be "
                           "remembered next time.",
                       MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

} // namespace qb
