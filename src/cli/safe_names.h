#pragma once

#include <string>
#include <string_view>

// Names from the mail made into names of folders and files.
namespace qb::cli {

/// A folder's or an attachment's name from the mail as a name in the output: a "/" becomes "-",
/// a NUL is left out, "." and ".." (and the empty name) become "_" and "__", and a name longer
/// than maxBytes is cut at a UTF-8 character boundary. The rest of the text stays as it is, so
/// the name reads as it did in the mail program.
std::string SafeName(std::string_view name, std::size_t maxBytes = 255);

/// The name split before its extension, for numbering copies: "photo.jpg" gives "photo" and
/// ".jpg"; a name without one, or whose only dot leads, gives itself and "".
struct SplitName {
    std::string stem;
    std::string ending;
};
SplitName SplitExtension(const std::string &name);

} // namespace qb::cli
