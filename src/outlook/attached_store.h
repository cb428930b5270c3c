#pragma once

#include "platform/outlook_api.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb::outlook {

/// The store files of the namespace's root folders, in their order, each path made canonical so
/// that two spellings of one file compare equal. Reads no store where the mail-store layer knows a
/// root's file without it. Throws Failure when the list of roots cannot be read.
std::vector<std::string> RootStoreFiles(Namespace &mapi);

/// The root folder of a personal folders file after AddStore, and whether that AddStore really
/// attached it (only then may the listing detach it again).
struct AttachedRoot {
    std::shared_ptr<Folder> root;
    bool attachedByListing = false;
};

/// Finds the root whose store file is filePath among the namespace's roots. When none names the
/// file, a single root that was not there before is taken. storesBefore holds RootStoreFiles from
/// before AddStore; without it no root counts as attached by the listing. The root is null when
/// none fits. Only the chosen root is read, so another store that cannot be read is no hindrance.
/// Throws Failure when the chosen root cannot be read.
AttachedRoot FindAttachedRoot(Namespace &mapi, const std::string &filePath,
                              const std::optional<std::vector<std::string>> &storesBefore);

} // namespace qb::outlook
