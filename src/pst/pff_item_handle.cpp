#include "pst/pff_item_handle.h"

#include "failure/failure.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_message.h"
#include "pst/pff_properties.h"

#include <algorithm>

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

int PffItemHandle::recordSetCount() {
    if (!recordSetsCounted_) {
        int count = 0;
        PffError error;
        if (libpff_item_get_number_of_record_sets(item_.get(), &count, error.out()) != 1)
            raise(error, "cannot read the properties");
        recordSets_.resize(static_cast<std::size_t>(std::max(count, 0)));
        recordSetsCounted_ = true;
    }
    return static_cast<int>(recordSets_.size());
}

libpff_record_set_t *PffItemHandle::recordSet(int index) {
    // Items without any property set simply have no properties.
    if (index < 0 || index >= recordSetCount())
        return nullptr;
    PffRecordSet &set = recordSets_[static_cast<std::size_t>(index)];
    if (!set) {
        PffError error;
        if (libpff_item_get_record_set_by_index(item_.get(), index, Receive(set), error.out()) != 1)
            raise(error, "cannot read the properties");
    }
    return set.get();
}

PffRecordEntry PffItemHandle::entry(std::uint32_t propertyType, int recordSetIndex) {
    PffRecordEntry entry;
    libpff_record_set_t *set = recordSet(recordSetIndex);
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
    case PffItemKind::recipients:
        return "the recipients of " + (holder_ ? holder_->description() : "a message");
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

std::vector<std::string> PffItemHandle::folderNames() {
    std::vector<std::string> names;
    PffItemHandle *item = this;
    while (item->kind_ != PffItemKind::folder) {
        if (!item->holder_)
            throw PffFailure(file_->fileName() + ": the folder of " + description() +
                             " is not known: it was not reached through its folder");
        item = item->holder_.get();
    }
    // The top of personal folders is the one folder that has no holder of its own.
    for (; item->holder_; item = item->holder_.get()) {
        const auto name = ReadText(*item, pff_property::displayName, file_->asciiCodepage());
        names.push_back(name.value_or(""));
    }
    return {names.rbegin(), names.rend()};
}

int PffItemHandle::nesting() const {
    int depth = 0;
    for (const PffItemHandle *item = this; item->holder_; item = item->holder_.get())
        if (item->kind_ == PffItemKind::message && item->holder_->kind_ == PffItemKind::attachment)
            ++depth;
    return depth;
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
