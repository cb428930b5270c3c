#pragma once

#include <libpff.h>

#include <cstdint>
#include <memory>
#include <string>

namespace qb {

class PffFile;

/// Frees a libpff record entry.
struct PffRecordEntryDeleter {
    void operator()(libpff_record_entry_t *entry) const;
};
/// A libpff record entry owned by its reader.
using PffRecordEntry = std::unique_ptr<libpff_record_entry_t, PffRecordEntryDeleter>;

/// A libpff item (folder, message, attachment) together with the file it belongs to, so the
/// file stays open while the item lives. Its property set is read once, on first use.
class PffItemHandle {
  public:
    PffItemHandle(std::shared_ptr<PffFile> file, libpff_item_t *item);
    ~PffItemHandle();
    PffItemHandle(const PffItemHandle &) = delete;
    PffItemHandle &operator=(const PffItemHandle &) = delete;

    libpff_item_t *get() const { return item_; }
    PffFile &file() const { return *file_; }
    const std::shared_ptr<PffFile> &sharedFile() const { return file_; }
    /// The item's identifier in its file (its node identifier); throws Failure.
    std::uint32_t identifier();

    /// The property of that type (any value type), or null when the item has none; throws
    /// Failure when the property set cannot be read.
    PffRecordEntry entry(std::uint32_t propertyType);

  private:
    libpff_record_set_t *recordSet();

    std::shared_ptr<PffFile> file_;
    libpff_item_t *item_;
    libpff_record_set_t *recordSet_ = nullptr;
    bool recordSetRead_ = false;
};

/// Describes an item for failures: "item 2097476".
std::string DescribeItem(std::uint32_t identifier);

} // namespace qb
