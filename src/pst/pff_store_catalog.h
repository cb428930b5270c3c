#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qb {

class EventPump;
class PffFile;

/// Every data file opened during this run of the program, shared by all application objects,
/// so that an EntryID keeps resolving after its store left the profile. A file is opened once;
/// it is opened anew (as a new store) only when it changed on disk meanwhile. Opening a file reads
/// its whole index, which takes minutes for a store of 100,000 messages: given the window's
/// events, the catalog lets them run meanwhile.
class PffStoreCatalog {
  public:
    explicit PffStoreCatalog(EventPump *events = nullptr);
    ~PffStoreCatalog();

    /// The open store for the file at path; throws Failure when it cannot be opened.
    std::shared_ptr<PffFile> open(const std::string &path);
    /// The store with that number, or null when no store has it.
    std::shared_ptr<PffFile> store(std::uint32_t storeNumber) const;

  private:
    struct OpenedStore {
        std::string identity;
        std::int64_t modificationTime;
        std::uint64_t size;
        std::shared_ptr<PffFile> file;
    };
    EventPump *events_;
    std::vector<OpenedStore> stores_; // store number n is stores_[n - 1]
};

/// The text that is equal for two paths of one file: its absolute, normalised path.
std::string FileIdentity(const std::string &path);

} // namespace qb
