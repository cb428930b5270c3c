#include "platform/controls/status_text.h"

#include <cmath>

namespace qb {

std::string GroupedNumber(std::int64_t number) {
    const std::string digits = std::to_string(number < 0 ? -number : number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += ',';
        grouped += digits[i];
    }
    return number < 0 ? "-" + grouped : grouped;
}

std::string CountOf(std::int64_t number, const std::string &noun) {
    return GroupedNumber(number) + " " + noun + (number == 1 ? "" : "s");
}

std::string DurationText(double seconds) {
    const auto whole = seconds > 0 ? static_cast<std::int64_t>(std::floor(seconds)) : 0;
    const std::int64_t hours = whole / 3600;
    const std::int64_t minutes = whole / 60 % 60;
    if (hours > 0)
        return std::to_string(hours) + " h " + std::to_string(minutes) + " min";
    if (minutes > 0)
        return std::to_string(minutes) + " min " + std::to_string(whole % 60) + " s";
    return std::to_string(whole) + " s";
}

std::string ShortenedPath(const std::string &path) {
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.ends_with('/'))
        trimmed.pop_back();
    const std::size_t slash = trimmed.rfind('/');
    // "/mail" and "mail" have nothing in front of their last component worth leaving out.
    if (slash == std::string::npos || slash == 0)
        return trimmed;
    return "\u2026" + trimmed.substr(slash);
}

} // namespace qb
