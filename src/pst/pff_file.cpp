#include "pst/pff_file.h"

#include "pst/pff_children.h"
#include "pst/pff_error.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_properties.h"

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

/// The subfolder with exactly that name, or null when there is none; throws Failure when the
/// subfolders or their names cannot be read.
std::shared_ptr<PffItemHandle> SubfolderNamed(std::shared_ptr<PffItemHandle> folder,
                                              const std::string &name, int codepage) {
    PffChildren subfolders(std::move(folder), pffSubfolders);
    const int count = subfolders.count();
    for (int index = 1; index <= count; ++index) {
        auto subfolder = subfolders.item(index);
        if (ReadText(*subfolder, pff_property::displayName, codepage) == name)
            return subfolder;
    }
    return nullptr;
}

} // namespace

PffFile::PffFile(std::string path, std::uint32_t storeNumber)
    : path_(std::move(path)), fileName_(NameOf(path_)), storeNumber_(storeNumber) {}

PffFile::~PffFile() {
    if (opened_)
        libpff_file_close(file_.get(), nullptr);
}

std::shared_ptr<PffFile> PffFile::open(const std::string &path, std::uint32_t storeNumber) {
    std::shared_ptr<PffFile> file(new PffFile(path, storeNumber));
    CheckReadable(path, file->fileName_);
    PffError error;
    if (libpff_file_initialize(Receive(file->file_), error.out()) != 1)
        error.raise(file->fileName_, "cannot prepare the file for reading");
    if (libpff_file_open(file->file_.get(), path.c_str(), LIBPFF_OPEN_READ, error.out()) != 1)
        error.raise(file->fileName_, "not a readable Outlook data file");
    file->opened_ = true;
    if (libpff_file_get_ascii_codepage(file->file_.get(), &file->asciiCodepage_, error.out()) != 1)
        error.raise(file->fileName_, "cannot read the code page of the file");
    file->readStoreDescription();
    return file;
}

void PffFile::readStoreDescription() {
    displayName_ = std::filesystem::path(path_).stem().string();
    PffItem store;
    PffError error;
    const int result = libpff_file_get_message_store(file_.get(), Receive(store), error.out());
    if (result == -1)
        error.raise(fileName_, "cannot read the message store");
    if (result == 0)
        return; // no message store: the file's name stands for the store
    PffItemHandle handle(shared_from_this(), std::move(store), PffItemKind::store);
    const auto name = ReadText(handle, pff_property::displayName, asciiCodepage_);
    if (name && !name->empty())
        displayName_ = *name;
    if (const auto entryId = ReadBytes(handle, pff_property::ipmSubtreeEntryId))
        ipmSubtreeIdentifier_ = NodeIdentifier(*entryId);
}

std::shared_ptr<PffItemHandle> PffFile::item(std::uint32_t identifier, PffItemKind kind) {
    PffItem found;
    PffError error;
    const int result =
        libpff_file_get_item_by_identifier(file_.get(), identifier, Receive(found), error.out());
    if (result == -1)
        error.raise(fileName_, "cannot read " + DescribeItem(identifier));
    if (result == 0)
        return nullptr;
    return std::make_shared<PffItemHandle>(shared_from_this(), std::move(found), kind);
}

std::shared_ptr<PffItemHandle> PffFile::rootFolder() {
    PffError error;
    if (ipmSubtreeIdentifier_) {
        PffItem subtree;
        if (libpff_file_get_item_by_identifier(file_.get(), *ipmSubtreeIdentifier_,
                                               Receive(subtree), error.out()) == 1)
            return std::make_shared<PffItemHandle>(shared_from_this(), std::move(subtree),
                                                   PffItemKind::folder);
        // A damaged file may name a subtree it cannot give: then it is looked for by name.
    }
    auto subtree = namedSubtree();
    if (!subtree)
        error.raise(fileName_, "cannot find the top of personal folders");
    subtree->makeTop();
    ipmSubtreeIdentifier_ = subtree->identifier(); // found by name: remembered by number
    return subtree;
}

std::shared_ptr<PffItemHandle> PffFile::namedSubtree() {
    auto mailbox = SubfolderNamed(fileRootFolder(), "Root - Mailbox", asciiCodepage_);
    return mailbox ? SubfolderNamed(std::move(mailbox), "IPM_SUBTREE", asciiCodepage_) : nullptr;
}

std::shared_ptr<PffItemHandle> PffFile::fileRootFolder() {
    PffItem root;
    PffError error;
    const int result = libpff_file_get_root_folder(file_.get(), Receive(root), error.out());
    if (result != 1)
        error.raise(fileName_,
                    result == 0 ? "the file has no root folder" : "cannot read the root folder");
    return std::make_shared<PffItemHandle>(shared_from_this(), std::move(root),
                                           PffItemKind::folder);
}

} // namespace qb
