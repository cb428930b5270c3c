#include "mime/header_block.h"

#include "text/plain_text.h"

#include <algorithm>

namespace qb::mime {
namespace {

/// The next line without its line end (CR LF, LF or CR); moves `at` past the line end.
std::string_view NextLine(std::string_view block, std::size_t &at) {
    const std::size_t end = std::min(block.find_first_of("\r\n", at), block.size());
    const std::string_view line = block.substr(at, end - at);
    at = end;
    if (at < block.size() && block[at] == '\r')
        ++at;
    if (at < block.size() && block[at] == '\n')
        ++at;
    return line;
}

/// The length of the field name the line starts with, up to its colon; 0 when it starts none.
std::size_t FieldNameLength(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos)
        return 0;
    const bool printable = std::all_of(line.begin(), line.begin() + colon, [](char c) {
        return static_cast<unsigned char>(c) > 32 && static_cast<unsigned char>(c) < 127;
    });
    return printable ? colon : 0;
}

} // namespace

HeaderBlock ReadHeaderBlock(std::string_view block) {
    HeaderBlock read;
    for (std::size_t at = 0; at < block.size();) {
        const std::string_view line = NextLine(block, at);
        if (line.empty())
            break;
        if (line.front() == ' ' || line.front() == '\t') {
            if (read.fields.empty())
                continue;
            read.fields.back().rawValue.append(line).append("\n");
            continue;
        }
        const std::size_t nameLength = FieldNameLength(line);
        if (nameLength == 0) {
            read.strayLines += read.fields.empty() ? 0 : 1;
            continue;
        }
        read.fields.push_back({std::string(line.substr(0, nameLength)),
                               std::string(line.substr(nameLength + 1)) + "\n"});
    }
    return read;
}

bool DescribesMimeStructure(std::string_view name) {
    return EqualIgnoringCase(name, "MIME-Version") ||
           (name.size() > 8 && EqualIgnoringCase(name.substr(0, 8), "Content-"));
}

} // namespace qb::mime
