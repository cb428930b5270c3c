#include "express/dbx_files.h"

#include "express/registry_access.h"
#include "express/search_identities.h"
#include "failure/caught_failure.h"
#include "failure/failure.h"
#include "text/plain_text.h"

namespace qb::express {
namespace {

const std::string identitiesKey = "HKEY_CURRENT_USER\\Identities";
const std::string profileVariable = "%UserProfile%";

/// The text with every occurrence of what replaced, letter case counting.
std::string replaceAll(std::string text, const std::string &what, const std::string &with) {
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

} // namespace

std::vector<std::string> DBXFiles::GetStoreFolder() {
    try {
        return storeFolders();
    } catch (const std::exception &) {
        throw Failure::component("DBXFiles", "GetStoreFolder");
    }
}

std::vector<std::string> DBXFiles::storeFolders() {
    std::vector<std::string> folders;
    for (const std::string &name : GetSubKeys(messages_, sources_.registry, identitiesKey))
        if (!IsBlankName(name))
            folders.push_back(name + "\\");
    if (folders.empty())
        throw Failure(error_number::invalidProcedureCall, programSource, "No mail identity");

    // The first identity without an Outlook Express version key ends the walk: it keeps its key
    // path, and the identities after it keep their bare names.
    for (std::string &entry : folders) {
        entry = identitiesKey + "\\" + entry + "Software\\Microsoft\\Outlook Express";
        const std::vector<std::string> versions = GetSubKeys(messages_, sources_.registry, entry);
        if (versions.empty())
            break;
        entry += "\\" + versions.front();
    }
    for (std::string &entry : folders) {
        const KeyValues values = GetKeyValues(messages_, sources_.registry, entry);
        if (values.empty())
            break;
        entry = KeyValueText(values.item("Store Root"));
    }

    const std::string profile = sources_.registry.userProfile();
    for (std::string &entry : folders)
        entry = replaceAll(std::move(entry), profileVariable, profile);
    return folders;
}

void DBXFiles::GetDBXFilesInPath(const std::string &strFolder, std::vector<std::string> &arrFiles) {
    // Outlook Express writes its "Store Root" without a final separator; joined as it stands,
    // the folder's name would run into the file names and no store would ever be found.
    std::string folder = strFolder;
    if (!folder.empty() && !folder.ends_with('\\') && !folder.ends_with('/'))
        folder += folder.find('\\') != std::string::npos ? '\\' : '/';
    for (const std::string &name : sources_.files.listFiles(folder + "*.dbx"))
        if (!IsExcludedDBXFile(name))
            arrFiles.push_back(folder + name);
}

bool DBXFiles::IsExcludedDBXFile(const std::string &strName) {
    const std::string name = LowerCase(strName);
    return name == "folders.dbx" || name == "pop3uidl.dbx";
}

std::string FirstIdentityStoreFolder(TitledMessageBoxes &messages, StoreSources sources) {
    std::vector<std::string> folders;
    // Without an identity the dialog simply opens at home; the search reports why there is none.
    if (CaughtFailure([&] { folders = DBXFiles(messages, sources).GetStoreFolder(); }))
        return {};
    for (const std::string &folder : folders) {
        std::string host;
        // An entry that is no folder here (a key path the walk stopped at) is passed over.
        const auto unusable = CaughtFailure([&] {
            host = sources.files.hostPath(folder);
            if (!sources.files.isFolder(host))
                host.clear();
        });
        if (!unusable && !host.empty())
            return host;
    }
    return {};
}

} // namespace qb::express
