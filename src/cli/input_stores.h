#pragma once

#include <string>
#include <vector>

// The stores a run reads, found from the FILE arguments.
namespace qb::cli {

enum class StoreKind { Outlook, Dbx };

struct StoreInput {
    std::string path;
    StoreKind kind;
};

/// The kind that a file name's extension (any letter case) names, if any.
bool StoreKindOf(const std::string &path, StoreKind &kind);

/// An argument, or a folder met while searching one, that could not be used, and why.
struct InputProblem {
    std::string input;
    std::string why;
};

/// What the search of the FILE arguments found, and the arguments it could not use.
struct FoundStores {
    std::vector<StoreInput> stores;
    std::vector<InputProblem> problems;
};

/// The stores that the arguments name, in argument order; a folder gives its stores in name
/// order, searched in subfolders only when recursive. Links to stores count as stores. A store's
/// name on anything but a regular file (a named pipe, a socket, a device) is a problem, told from
/// its status alone: it is never opened, since a named pipe would keep its reader waiting.
FoundStores FindStores(const std::vector<std::string> &arguments, bool recursive);

} // namespace qb::cli
