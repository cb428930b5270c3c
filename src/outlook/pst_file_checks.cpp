#include "outlook/outlook_listing.h"

namespace qb::outlook {
namespace {

/// The text without leading and trailing blanks (spaces only, as the PST box is a one-line box).
std::string TrimBlanks(const std::string &text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// A plain file lookup: hidden files and folders count as missing.
bool FileIsPresent(FileSystem &files, const std::string &path) {
    return !files.listFiles(path).empty();
}

} // namespace

bool OutlookListing::pstFileIsUsable(Guard &guard, int firstLine) {
    if (!guard.test(firstLine, [&] { return controls_.Option4.value(); }))
        return true;
    const std::string &path = controls_.Text2.text();
    if (guard.test(firstLine + 2, [&] { return TrimBlanks(path).empty(); })) {
        guard.step(firstLine + 4, [&] { MsgBox(platform_, "You forgot to input PST File."); });
        return false;
    }
    if (guard.test(firstLine + 6, [&] { return !FileIsPresent(platform_.files, path); })) {
        guard.step(firstLine + 8, [&] { MsgBox(platform_, "PST File not found."); });
        return false;
    }
    return true;
}

} // namespace qb::outlook
