#include "pst/pff_namespace.h"

#include "pst/pff_entry_id.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_folder.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_message.h"
#include "pst/pff_message_item.h"
#include "pst/pff_store_catalog.h"

#include <algorithm>

namespace qb {
namespace {

[[noreturn]] void RaiseNotFound(const std::string &entryId) {
    throw PffFailure("The operation failed. An object could not be found (EntryID " + entryId +
                         ").",
                     pff_failure::notFound);
}

bool IsMessage(PffItemHandle &item) {
    std::uint8_t type = LIBPFF_ITEM_TYPE_UNDEFINED;
    PffError error;
    if (libpff_item_get_type(item.get(), &type, error.out()) != 1)
        item.raise(error, "cannot read the type");
    return type != LIBPFF_ITEM_TYPE_FOLDER && type != LIBPFF_ITEM_TYPE_ATTACHMENT &&
           type != LIBPFF_ITEM_TYPE_ATTACHMENTS && type != LIBPFF_ITEM_TYPE_RECIPIENTS;
}

} // namespace

PffNamespace::PffNamespace(std::shared_ptr<PffStoreCatalog> catalog,
                           const std::vector<std::string> &profile)
    : catalog_(std::move(catalog)) {
    for (const std::string &path : profile)
        stores_.push_back({path, FileIdentity(path)});
}

std::shared_ptr<outlook::Folders> PffNamespace::folders() {
    return std::make_shared<PffRootFolders>(catalog_, stores_);
}

void PffNamespace::AddStore(const std::string &path) {
    const std::string identity = FileIdentity(path);
    if (std::any_of(stores_.begin(), stores_.end(),
                    [&](const PffStoreEntry &store) { return store.identity == identity; }))
        return;
    catalog_->open(path);
    stores_.push_back({path, identity});
}

void PffNamespace::RemoveStore(outlook::Folder &root) {
    const std::string identity = FileIdentity(root.storeFilePath());
    const auto removed = std::erase_if(
        stores_, [&](const PffStoreEntry &store) { return store.identity == identity; });
    if (removed == 0)
        throw PffFailure("The store of folder \"" + root.name() + "\" (" + root.storeFilePath() +
                             ") is not part of the profile.",
                         pff_failure::notFound);
}

std::shared_ptr<outlook::Item> PffNamespace::GetItemFromID(const std::string &entryId) {
    const auto id = ParseEntryId(entryId);
    if (!id)
        RaiseNotFound(entryId);
    const auto file = catalog_->store(id->storeNumber);
    if (!file)
        RaiseNotFound(entryId);
    auto message = file->item(id->itemIdentifier, PffItemKind::message);
    if (!message || !IsMessage(*message))
        RaiseNotFound(entryId);
    return std::make_shared<PffMessageItem>(std::make_shared<PffMessage>(std::move(message)));
}

PffRootFolders::PffRootFolders(std::shared_ptr<PffStoreCatalog> catalog,
                               std::vector<PffStoreEntry> stores)
    : catalog_(std::move(catalog)), stores_(std::move(stores)) {}

const PffStoreEntry &PffRootFolders::store(int index) {
    if (index < 1 || index > count())
        RaiseIndexOutOfBounds(index, count());
    return stores_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<outlook::Folder> PffRootFolders::item(int index) {
    const PffStoreEntry &root = store(index);
    const auto file = catalog_->open(root.path);
    return std::make_shared<PffFolder>(file->rootFolder(), root.path, file->displayName());
}

std::shared_ptr<outlook::Folder> PffRootFolders::GetLast() {
    return LastFolder(*this);
}

std::string PffRootFolders::storeFilePath(int index) {
    return store(index).path;
}

} // namespace qb
