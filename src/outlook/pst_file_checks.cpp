#include "outlook/outlook_listing.h"
#include "text/plain_text.h"

namespace qb::outlook {
namespace {

/// A plain file lookup: hidden files and folders count as missing.
bool FileIsPresent(FileSystem &files, const std::string &path) {
    return !files.listFiles(path).empty();
}

} // namespace

bool OutlookListing::pstFileIsUsable(Guard &guard, int firstLine) {
    if (!guard.test(firstLine, [&] { return controls_.Option4.value(); }))
        return true;
    const std::string &path = controls_.Text2.text();
    if (guard.test(firstLine + 2, [&] { return Trimmed(path).empty(); })) {
        guard.step(firstLine + 4, [&] { showMessage("You forgot to input PST File."); });
        return false;
    }
    if (guard.test(firstLine + 6, [&] { return !FileIsPresent(facilities_.files, path); })) {
        guard.step(firstLine + 8, [&] { showMessage("PST File not found."); });
        return false;
    }
    return true;
}

} // namespace qb::outlook
