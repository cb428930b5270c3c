#pragma once

#include "pst/pff_handle.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qb {

class PffItemHandle;
enum class PffItemKind;

/// One Outlook data file (.pst or .ost) opened read-only with libpff. Item handles keep the file
/// open: it closes when the last object reading it is gone.
class PffFile : public std::enable_shared_from_this<PffFile> {
  public:
    /// Opens the file as the store with that number (EntryIDs name it); throws Failure naming
    /// the file and why it cannot be read.
    static std::shared_ptr<PffFile> open(const std::string &path, std::uint32_t storeNumber);
    ~PffFile();
    PffFile(const PffFile &) = delete;
    PffFile &operator=(const PffFile &) = delete;

    /// The path the file was opened with.
    const std::string &path() const { return path_; }
    /// The file's name without its folder, as failures name it.
    const std::string &fileName() const { return fileName_; }
    /// The number that names the store in EntryIDs during this run.
    std::uint32_t storeNumber() const { return storeNumber_; }
    /// The store's display name, else the file's base name.
    const std::string &displayName() const { return displayName_; }
    /// Code page of the file's 8-bit strings when a message names none.
    int asciiCodepage() const { return asciiCodepage_; }

    /// The top of personal folders (IPM subtree): the folder the message store names, else
    /// "IPM_SUBTREE" under "Root - Mailbox" as offline stores keep it. Throws Failure naming the
    /// file when it cannot be found or read.
    std::shared_ptr<PffItemHandle> rootFolder();
    /// The item with that identifier, or null when the file has none; throws Failure when the
    /// file cannot be read.
    std::shared_ptr<PffItemHandle> item(std::uint32_t identifier, PffItemKind kind);

  private:
    PffFile(std::string path, std::uint32_t storeNumber);
    void readStoreDescription();
    std::shared_ptr<PffItemHandle> fileRootFolder();
    std::shared_ptr<PffItemHandle> namedSubtree();

    std::string path_;
    std::string fileName_;
    std::string displayName_;
    std::uint32_t storeNumber_;
    int asciiCodepage_ = 1252;
    std::optional<std::uint32_t> ipmSubtreeIdentifier_;
    PffFileHandle file_;
    bool opened_ = false;
};

} // namespace qb
