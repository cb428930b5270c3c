#include "platform/linux/pff_file.h"

#include "platform/linux/pff_error.h"
#include "platform/linux/pff_item_handle.h"
#include "platform/linux/pff_properties.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace qb {
namespace {

/// Names a file the way a user sees it: its name without the folder.
std::string NameOf(const std::string &path) {
    const auto name = std::filesystem::path(path).filename().string();
    return name.empty() ? path : name;
}

/// Explains why a path cannot be opened at all before libpff tries, in the system's words.
void CheckReadable(const std::string &path, const std::string &fileName) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        throw PffFailure(fileName + ": cannot open the file: " + std::strerror(errno),
                         pff_failure::notFound);
    if (!S_ISREG(status.st_mode))
        throw PffFailure(fileName + ": cannot open the file: it is not a regular file");
    if (status.st_size == 0)
        throw PffFailure(fileName + ": not a readable Outlook data file: the file is empty");
}

/// The node identifier an entry identifier names: its last four bytes, little-endian.
std::optional<std::uint32_t> NodeIdentifier(const std::string &entryId) {
    if (entryId.size() < 24)
        return std::nullopt;
    std::uint32_t identifier = 0;
    for (std::size_t i = entryId.size(); i-- > entryId.size() - 4;)
        identifier = (identifier << 8) | static_cast<unsigned char>(entryId[i]);
    return identifier;
}

std::shared_ptr<PffItemHandle> SubFolderNamed(PffItemHandle &folder, const std::string &name) {
    libpff_item_t *found = nullptr;
    const int result = libpff_folder_get_sub_folder_by_utf8_name(
        folder.get(), reinterpret_cast<std::uint8_t *>(const_cast<char *>(name.c_str())),
        name.size(), &found, nullptr);
    if (result != 1)
        return nullptr;
    return std::make_shared<PffItemHandle>(folder.sharedFile(), found);
}

} // namespace

PffFile::PffFile(std::string path, std::uint32_t storeNumber)
    : path_(std::move(path)), fileName_(NameOf(path_)), storeNumber_(storeNumber) {}

PffFile::~PffFile() {
    if (file_) {
        libpff_file_close(file_, nullptr);
        libpff_file_free(&file_, nullptr);
    }
}

std::shared_ptr<PffFile> PffFile::open(const std::string &path, std::uint32_t storeNumber) {
    std::shared_ptr<PffFile> file(new PffFile(path, storeNumber));
    CheckReadable(path, file->fileName_);
    PffError error;
    if (libpff_file_initialize(&file->file_, error.out()) != 1)
        error.raise(file->fileName_, "cannot prepare the file for reading");
    if (libpff_file_open(file->file_, path.c_str(), LIBPFF_OPEN_READ, error.out()) != 1) {
        // A handle that failed to open is freed without being closed.
        libpff_file_free(&file->file_, nullptr);
        error.raise(file->fileName_, "not a readable Outlook data file");
    }
    libpff_file_get_ascii_codepage(file->file_, &file->asciiCodepage_, nullptr);
    file->readStoreDescription();
    return file;
}

void PffFile::readStoreDescription() {
    displayName_ = std::filesystem::path(path_).stem().string();
    libpff_item_t *store = nullptr;
    PffError error;
    const int result = libpff_file_get_message_store(file_, &store, error.out());
    if (result == -1)
        error.raise(fileName_, "cannot read the message store");
    if (result == 0)
        return; // no message store: the file's name stands for the store
    PffItemHandle handle(shared_from_this(), store);
    const auto name = ReadText(handle, pff_property::displayName, asciiCodepage_);
    if (name && !name->empty())
        displayName_ = *name;
    if (const auto entryId = ReadBytes(handle, pff_property::ipmSubtreeEntryId))
        ipmSubtreeIdentifier_ = NodeIdentifier(*entryId);
}

std::shared_ptr<PffItemHandle> PffFile::item(std::uint32_t identifier) {
    libpff_item_t *found = nullptr;
    PffError error;
    const int result = libpff_file_get_item_by_identifier(file_, identifier, &found, error.out());
    if (result == -1)
        error.raise(fileName_, "cannot read " + DescribeItem(identifier));
    if (result == 0)
        return nullptr;
    return std::make_shared<PffItemHandle>(shared_from_this(), found);
}

std::shared_ptr<PffItemHandle> PffFile::rootFolder() {
    auto root = findRootFolder();
    if (!ipmSubtreeIdentifier_)
        ipmSubtreeIdentifier_ = root->identifier(); // found by name: remember it by number
    return root;
}

std::shared_ptr<PffItemHandle> PffFile::findRootFolder() {
    if (ipmSubtreeIdentifier_) {
        // A damaged file may name a subtree it cannot give: then search by name.
        libpff_item_t *subtree = nullptr;
        if (libpff_file_get_item_by_identifier(file_, *ipmSubtreeIdentifier_, &subtree, nullptr) ==
            1)
            return std::make_shared<PffItemHandle>(shared_from_this(), subtree);
    }
    auto root = fileRootFolder();
    // Offline stores keep the personal folders under "Root - Mailbox".
    if (auto mailbox = SubFolderNamed(*root, "Root - Mailbox"))
        if (auto subtree = SubFolderNamed(*mailbox, "IPM_SUBTREE"))
            return subtree;
    if (auto subtree = SubFolderNamed(*root, "IPM_SUBTREE"))
        return subtree;
    return root;
}

std::shared_ptr<PffItemHandle> PffFile::fileRootFolder() {
    libpff_item_t *root = nullptr;
    PffError error;
    const int result = libpff_file_get_root_folder(file_, &root, error.out());
    if (result != 1)
        error.raise(fileName_,
                    result == 0 ? "the file has no root folder" : "cannot read the root folder");
    return std::make_shared<PffItemHandle>(shared_from_this(), root);
}

} // namespace qb
