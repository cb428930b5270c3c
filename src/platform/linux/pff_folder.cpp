#include "platform/linux/pff_folder.h"

#include "platform/linux/pff_error.h"
#include "platform/linux/pff_file.h"
#include "platform/linux/pff_item_handle.h"
#include "platform/linux/pff_message.h"
#include "platform/linux/pff_properties.h"

namespace qb {

void RaiseIndexOutOfBounds(int index, int count) {
    throw PffFailure("Array index out of bounds: item " + std::to_string(index) +
                         " asked of a collection of " + std::to_string(count) + ".",
                     pff_failure::indexOutOfBounds);
}

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
    : parent_(std::move(parent)), storePath_(std::move(storePath)) {}

int PffFolders::count() {
    int count = 0;
    PffError error;
    if (libpff_folder_get_number_of_sub_folders(parent_->get(), &count, error.out()) != 1)
        error.raise(parent_->file().fileName(),
                    "cannot read the subfolders of " + DescribeItem(parent_->identifier()));
    return count;
}

std::shared_ptr<outlook::Folder> PffFolders::item(int index) {
    const int total = count();
    if (index < 1 || index > total)
        RaiseIndexOutOfBounds(index, total);
    libpff_item_t *folder = nullptr;
    PffError error;
    if (libpff_folder_get_sub_folder(parent_->get(), index - 1, &folder, error.out()) != 1)
        error.raise(parent_->file().fileName(), "cannot read subfolder " + std::to_string(index) +
                                                    " of " + DescribeItem(parent_->identifier()));
    return std::make_shared<PffFolder>(
        std::make_shared<PffItemHandle>(parent_->sharedFile(), folder), storePath_);
}

std::shared_ptr<outlook::Folder> PffFolders::GetLast() {
    const int total = count();
    return total == 0 ? nullptr : item(total);
}

PffItems::PffItems(std::shared_ptr<PffItemHandle> folder) : folder_(std::move(folder)) {}

int PffItems::count() {
    int count = 0;
    PffError error;
    if (libpff_folder_get_number_of_sub_messages(folder_->get(), &count, error.out()) != 1)
        error.raise(folder_->file().fileName(),
                    "cannot read the messages of " + DescribeItem(folder_->identifier()));
    return count;
}

std::shared_ptr<outlook::Item> PffItems::item(int index) {
    const int total = count();
    if (index < 1 || index > total)
        RaiseIndexOutOfBounds(index, total);
    libpff_item_t *message = nullptr;
    PffError error;
    if (libpff_folder_get_sub_message(folder_->get(), index - 1, &message, error.out()) != 1)
        error.raise(folder_->file().fileName(), "cannot read message " + std::to_string(index) +
                                                    " of " + DescribeItem(folder_->identifier()));
    return std::make_shared<PffMessage>(
        std::make_shared<PffItemHandle>(folder_->sharedFile(), message));
}

} // namespace qb
