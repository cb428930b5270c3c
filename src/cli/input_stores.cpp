#include "cli/input_stores.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <strings.h>

namespace qb::cli {
namespace {

namespace fs = std::filesystem;

bool EndsWithFolded(const std::string &name, const char *ending) {
    const std::size_t length = std::char_traits<char>::length(ending);
    return name.size() > length && strcasecmp(name.c_str() + name.size() - length, ending) == 0;
}

/// Why a path that is no folder cannot be read as a store, or nothing when it can. Only its
/// status is looked at: opening a named pipe to read it would wait for a writer for ever.
std::optional<std::string> NotAStoreFile(const fs::file_status &status) {
    switch (status.type()) {
    case fs::file_type::regular:
        return std::nullopt;
    case fs::file_type::fifo:
        return "a named pipe, not a file; skipped";
    case fs::file_type::socket:
        return "a socket, not a file; skipped";
    case fs::file_type::block:
    case fs::file_type::character:
        return "a device, not a file; skipped";
    default:
        return "not a regular file; skipped";
    }
}

void SearchFolder(const fs::path &folder, bool recursive, FoundStores &found) {
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error))
        entries.push_back(entry->path());
    if (error) {
        found.problems.push_back({folder.string(), error.message()});
        return;
    }
    // Name order, so that every run meets the stores, and so the names, in the same order.
    std::sort(entries.begin(), entries.end());
    for (const fs::path &path : entries) {
        std::error_code typeError;
        const fs::file_status status = fs::status(path, typeError);
        StoreKind kind;
        if (fs::is_directory(status)) {
            if (recursive && !fs::is_symlink(path, typeError))
                SearchFolder(path, recursive, found);
        } else if (!StoreKindOf(path.string(), kind) || !fs::exists(status)) {
            continue;
        } else if (const auto why = NotAStoreFile(status)) {
            found.problems.push_back({path.string(), *why});
        } else {
            found.stores.push_back({path.string(), kind});
        }
    }
}

} // namespace

bool StoreKindOf(const std::string &path, StoreKind &kind) {
    if (EndsWithFolded(path, ".pst") || EndsWithFolded(path, ".ost")) {
        kind = StoreKind::Outlook;
        return true;
    }
    if (EndsWithFolded(path, ".dbx")) {
        kind = StoreKind::Dbx;
        return true;
    }
    return false;
}

FoundStores FindStores(const std::vector<std::string> &arguments, bool recursive) {
    FoundStores found;
    for (const std::string &argument : arguments) {
        std::error_code error;
        const fs::file_status status = fs::status(argument, error);
        StoreKind kind;
        if (error || !fs::exists(status))
            found.problems.push_back(
                {argument, error ? error.message() : "No such file or directory"});
        else if (fs::is_directory(status))
            SearchFolder(argument, recursive, found);
        else if (!StoreKindOf(argument, kind))
            found.problems.push_back({argument, "not a .pst, .ost or .dbx file; skipped"});
        else if (const auto why = NotAStoreFile(status))
            found.problems.push_back({argument, *why});
        else
            found.stores.push_back({argument, kind});
    }
    return found;
}

} // namespace qb::cli
