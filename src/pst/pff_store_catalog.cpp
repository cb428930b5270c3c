#include "pst/pff_store_catalog.h"

#include "platform/event_pump.h"
#include "pst/pff_file.h"

#include <filesystem>
#include <sys/stat.h>

namespace qb {

std::string FileIdentity(const std::string &path) {
    std::error_code error;
    const auto canonical = std::filesystem::weakly_canonical(path, error);
    return error ? path : canonical.string();
}

PffStoreCatalog::PffStoreCatalog(EventPump *events) : events_(events) {}
PffStoreCatalog::~PffStoreCatalog() = default;

std::shared_ptr<PffFile> PffStoreCatalog::open(const std::string &path) {
    OpenedStore wanted{FileIdentity(path), 0, 0, nullptr};
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        wanted.modificationTime = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                                  status.st_mtim.tv_nsec;
        wanted.size = static_cast<std::uint64_t>(status.st_size);
    }
    for (auto store = stores_.rbegin(); store != stores_.rend(); ++store)
        if (store->identity == wanted.identity) {
            if (store->modificationTime == wanted.modificationTime && store->size == wanted.size)
                return store->file;
            break; // changed on disk: the older store stays for the EntryIDs it gave out
        }
    const auto storeNumber = static_cast<std::uint32_t>(stores_.size() + 1);
    const auto openFile = [path, storeNumber] { return PffFile::open(path, storeNumber); };
    wanted.file = events_ ? WhileEventsRun(*events_, openFile) : openFile();
    stores_.push_back(wanted);
    return wanted.file;
}

std::shared_ptr<PffFile> PffStoreCatalog::store(std::uint32_t storeNumber) const {
    if (storeNumber == 0 || storeNumber > stores_.size())
        return nullptr;
    return stores_[storeNumber - 1].file;
}

} // namespace qb
