#pragma once

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/registry.h"

#include <string>
#include <vector>

namespace qb::express {

/// Where the search for Outlook Express stores reads: the registry, and a file system that
/// understands the Windows paths the registry holds.
struct StoreSources {
    Registry &registry;
    FileSystem &files;
};

/// The Outlook Express message stores of the current user's mail identities and the DBX files in
/// them. Keeps no state between calls; a malformed key path is told through messages.
class DBXFiles {
  public:
    DBXFiles(TitledMessageBoxes &messages, StoreSources sources)
        : messages_(messages), sources_(sources) {}

    /// The store folder of each identity under "HKEY_CURRENT_USER\Identities", in enumeration
    /// order, with "%UserProfile%" replaced. Entries the walk stopped before resolving keep the
    /// key path or identity name reached. Any failure, no identity at all included, throws the
    /// component failure of "Ferndock.DBXFiles.GetStoreFolder".
    std::vector<std::string> GetStoreFolder();

    /// Appends to arrFiles strFolder + name for every DBX file matching strFolder + "*.dbx" but
    /// the two index files, in listing order. A folder without a final separator gets one.
    /// Failures of the listing reach the caller.
    void GetDBXFilesInPath(const std::string &strFolder, std::vector<std::string> &arrFiles);

  private:
    std::vector<std::string> storeFolders();
    /// True for the two index files of a store, in any letter case, and nothing else.
    static bool IsExcludedDBXFile(const std::string &strName);

    TitledMessageBoxes &messages_;
    StoreSources sources_;
};

/// The host path of the first identity's store folder that is there, or the empty text when no
/// identity's is (no Wine prefix, no identity, a registry that cannot be read): where a dialog
/// for picking DBX files by hand opens.
std::string FirstIdentityStoreFolder(TitledMessageBoxes &messages, StoreSources sources);

} // namespace qb::express
