#include "pst/pff_item_handle.h"

#include "failure/failure.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_message.h"
#include "pst/pff_properties.h"

namespace qb {

PffItemHandle::PffItemHandle(std::shared_ptr<PffFile> file, PffItem item, PffItemKind kind,
                             std::shared_ptr<PffItemHandle> holder)
    : file_(std::move(file)), holder_(std::move(holder)), item_(std::move(item)), kind_(kind) {}

std::uint32_t PffItemHandle::identifier() {
    std::uint32_t identifier = 0;
    PffError error;
    if (libpff_item_get_identifier(item_.get(), &identifier, error.out()) != 1)
        raise(error, "cannot read the identifier");
    return identifier;
}

libpff_record_set_t *PffItemHandle::recordSet() {
    if (!recordSetRead_) {
        int count = 0;
        PffError error;
        if (libpff_item_get_number_of_record_sets(item_.get(), &count, error.out()) != 1)
            raise(error, "cannot read the properties");
        // Items without any property set simply have no properties.
        if (count > 0 && libpff_item_get_record_set_by_index(item_.get(), 0, Receive(recordSet_),
                                                             error.out()) != 1)
            raise(error, "cannot read the properties");
        recordSetRead_ = true;
    }
    return recordSet_.get();
}

PffRecordEntry PffItemHandle::entry(std::uint32_t propertyType) {
    PffRecordEntry entry;
    libpff_record_set_t *set = recordSet();
    if (!set)
        return entry;
    PffError error;
    if (libpff_record_set_get_entry_by_type(set, propertyType, 0, Receive(entry),
                                            LIBPFF_ENTRY_VALUE_FLAG_MATCH_ANY_VALUE_TYPE,
                                            error.out()) == -1)
        raise(error, "cannot read property " + PropertyTag(propertyType));
    return entry;
}

std::string PffItemHandle::description() {
    // A failure met while naming the item: its number is all that is left to name it by.
    if (describing_)
        return byIdentifier();
    describing_ = true;
    std::string text = describeReadably();
    describing_ = false;
    return text;
}

std::string PffItemHandle::describeReadably() {
    switch (kind_) {
    case PffItemKind::store:
        return "the message store";
    case PffItemKind::folder:
        return holder_ ? "folder \"" + folderPath() + "\"" : "the root folder";
    case PffItemKind::attachment:
        return "an attachment of " + (holder_ ? holder_->description() : "a message");
    case PffItemKind::message:
        break;
    }
    const auto subject = readableName(pff_property::subject);
    std::string text = subject && !subject->empty()
                           ? "message \"" + WithoutSubjectMarker(*subject) + "\""
                           : byIdentifier();
    return holder_ ? text + " in " + holder_->description() : text;
}

std::string PffItemHandle::byIdentifier() {
    std::uint32_t identifier = 0;
    if (libpff_item_get_identifier(item_.get(), &identifier, nullptr) != 1)
        return "an item whose identifier cannot be read";
    return DescribeItem(identifier);
}

std::string PffItemHandle::folderPath() {
    if (!holder_)
        return {};
    const std::string above = holder_->folderPath();
    const std::string name = readableName(pff_property::displayName).value_or("?");
    return above.empty() ? name : above + "/" + name;
}

std::optional<std::string> PffItemHandle::readableName(std::uint32_t propertyType) {
    try {
        return ReadText(*this, propertyType, file_->asciiCodepage());
    } catch (const Failure &) {
        return std::nullopt; // the description makes do with less
    }
}

void PffItemHandle::raise(const PffError &error, const std::string &whatFailed) {
    error.raise(file_->fileName(), whatFailed + " of " + description());
}

std::string DescribeItem(std::uint32_t identifier) {
    return "item " + std::to_string(identifier);
}

} // namespace qb
