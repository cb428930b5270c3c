#include "express/eml_headers.h"

#include "text/plain_text.h"

namespace qb::express {
namespace {

constexpr std::string_view lineEnd = "\r\n";

} // namespace

std::string GetHeaderValue(std::string_view text, std::string_view name) {
    const std::string prefix = std::string(name) + ":";
    // Lines are taken one at a time, so a header near the top costs nothing for a long body.
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t end = text.find(lineEnd, start);
        const std::size_t length = (end == std::string_view::npos ? text.size() : end) - start;
        const std::string_view line = text.substr(start, length);
        if (line.starts_with(prefix))
            return Trimmed(line.substr(prefix.size()));
        if (end == std::string_view::npos)
            break;
        start = end + lineEnd.size();
    }
    return std::string();
}

std::string ReadWholeFile(FileSystem &files, const std::string &path) {
    return files.readAll(path);
}

} // namespace qb::express
