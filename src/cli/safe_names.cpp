#include "cli/safe_names.h"

#include "text/codepage.h"

namespace qb::cli {

std::string SafeName(std::string_view name, std::size_t maxBytes) {
    std::string safe;
    safe.reserve(name.size());
    for (const char c : name) {
        if (c == '/')
            safe += '-';
        else if (c != '\0')
            safe += c;
    }
    safe = std::string(Utf8Prefix(safe, maxBytes));
    if (safe.empty() || safe == ".")
        return "_";
    if (safe == "..")
        return "__";
    return safe;
}

SplitName SplitExtension(const std::string &name) {
    const std::size_t dot = name.rfind('.');
    // An ending longer than a few characters is part of the name, not a type.
    if (dot == std::string::npos || dot == 0 || name.size() - dot > 16)
        return {name, ""};
    return {name.substr(0, dot), name.substr(dot)};
}

} // namespace qb::cli
