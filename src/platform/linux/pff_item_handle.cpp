#include "platform/linux/pff_item_handle.h"

#include "platform/linux/pff_error.h"
#include "platform/linux/pff_file.h"

#include <cstdio>

namespace qb {

void PffRecordEntryDeleter::operator()(libpff_record_entry_t *entry) const {
    libpff_record_entry_free(&entry, nullptr);
}

PffItemHandle::PffItemHandle(std::shared_ptr<PffFile> file, libpff_item_t *item)
    : file_(std::move(file)), item_(item) {}

PffItemHandle::~PffItemHandle() {
    // The file must outlive its items: both are freed here, before file_ is released.
    if (recordSet_)
        libpff_record_set_free(&recordSet_, nullptr);
    if (item_)
        libpff_item_free(&item_, nullptr);
}

std::uint32_t PffItemHandle::identifier() {
    std::uint32_t identifier = 0;
    PffError error;
    if (libpff_item_get_identifier(item_, &identifier, error.out()) != 1)
        error.raise(file_->fileName(), "cannot read an item's identifier");
    return identifier;
}

libpff_record_set_t *PffItemHandle::recordSet() {
    if (!recordSetRead_) {
        int count = 0;
        PffError error;
        if (libpff_item_get_number_of_record_sets(item_, &count, error.out()) != 1)
            error.raise(file_->fileName(),
                        "cannot read the properties of " + DescribeItem(identifier()));
        // Items without any property set simply have no properties.
        if (count > 0 &&
            libpff_item_get_record_set_by_index(item_, 0, &recordSet_, error.out()) != 1)
            error.raise(file_->fileName(),
                        "cannot read the properties of " + DescribeItem(identifier()));
        recordSetRead_ = true;
    }
    return recordSet_;
}

PffRecordEntry PffItemHandle::entry(std::uint32_t propertyType) {
    libpff_record_set_t *set = recordSet();
    if (!set)
        return nullptr;
    libpff_record_entry_t *entry = nullptr;
    std::uint32_t valueType = 0;
    PffError error;
    const int result = libpff_record_set_get_entry_by_type(
        set, propertyType, valueType, &entry, LIBPFF_ENTRY_VALUE_FLAG_MATCH_ANY_VALUE_TYPE,
        error.out());
    if (result == -1) {
        char property[16];
        std::snprintf(property, sizeof property, "0x%04X", propertyType);
        error.raise(file_->fileName(), std::string("cannot read property ") + property + " of " +
                                           DescribeItem(identifier()));
    }
    return PffRecordEntry(result == 1 ? entry : nullptr);
}

std::string DescribeItem(std::uint32_t identifier) {
    return "item " + std::to_string(identifier);
}

} // namespace qb
