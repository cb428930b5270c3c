#include "pst/pff_folder.h"

#include "pst/pff_file.h"
#include "pst/pff_message.h"
#include "pst/pff_message_item.h"
#include "pst/pff_properties.h"

namespace qb {

PffFolder::PffFolder(std::shared_ptr<PffItemHandle> folder, std::string storePath,
                     std::optional<std::string> rootName)
    : folder_(std::move(folder)), storePath_(std::move(storePath)), rootName_(std::move(rootName)) {
}

std::string PffFolder::name() {
    if (rootName_)
        return *rootName_;
    return ReadText(*folder_, pff_property::displayName, folder_->file().asciiCodepage())
        .value_or("");
}

std::shared_ptr<outlook::Folders> PffFolder::folders() {
    return std::make_shared<PffFolders>(folder_, storePath_);
}

std::shared_ptr<outlook::Items> PffFolder::items() {
    return std::make_shared<PffItems>(folder_);
}

PffFolders::PffFolders(std::shared_ptr<PffItemHandle> parent, std::string storePath)
    : subfolders_(std::move(parent), pffSubfolders), storePath_(std::move(storePath)) {}

std::shared_ptr<outlook::Folder> PffFolders::item(int index) {
    return std::make_shared<PffFolder>(subfolders_.item(index), storePath_);
}

std::shared_ptr<outlook::Folder> PffFolders::GetLast() {
    return LastFolder(*this);
}

PffItems::PffItems(std::shared_ptr<PffItemHandle> folder)
    : messages_(std::move(folder), pffMessages) {}

std::shared_ptr<outlook::Item> PffItems::item(int index) {
    return std::make_shared<PffMessageItem>(std::make_shared<PffMessage>(messages_.item(index)));
}

std::shared_ptr<outlook::Folder> LastFolder(outlook::Folders &folders) {
    const int count = folders.count();
    return count == 0 ? nullptr : folders.item(count);
}

} // namespace qb
