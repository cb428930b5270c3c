#pragma once

#include "pst/pff_handle.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb {

class PffError;
class PffFile;

/// What an item of a data file is to the reader, which decides how failures name it.
enum class PffItemKind { store, folder, message, attachment, recipients };

/// A libpff item (the message store, a folder, a message, an attachment, a recipient table)
/// together with the file it belongs to, so the file stays open while the item lives, and with
/// the item that holds it (a folder's parent, a message's folder or attachment, an attachment's
/// message) when it was reached through one. Each property set is read once, on first use.
class PffItemHandle {
  public:
    PffItemHandle(std::shared_ptr<PffFile> file, PffItem item, PffItemKind kind,
                  std::shared_ptr<PffItemHandle> holder = nullptr);

    libpff_item_t *get() const { return item_.get(); }
    PffFile &file() const { return *file_; }
    const std::shared_ptr<PffFile> &sharedFile() const { return file_; }
    /// The item's identifier in its file (its node identifier); throws Failure.
    std::uint32_t identifier();

    /// The property of that type (any value type) in property set recordSet, or null when the
    /// set has none; throws Failure when the property set cannot be read.
    PffRecordEntry entry(std::uint32_t propertyType, int recordSet = 0);
    /// How many property sets the item has: one, but one per row for a recipient table.
    int recordSetCount();

    /// The item as failures name it: "message \"Plans\" in folder \"Inbox/2020\"", "folder
    /// \"Inbox\"", "the top of personal folders"; a message whose subject cannot be read is
    /// named by its identifier. Never fails.
    std::string description();
    /// The folder path below the top of personal folders ("Inbox/2020"); empty for the top and
    /// for items reached without their folder. Never fails: unreadable names show as "?".
    std::string folderPath();
    /// The names of the folders from below the top of personal folders down to the folder that
    /// holds the item, passing over the messages and attachments between. Throws Failure when a
    /// name cannot be read or the item was not reached through its folder.
    std::vector<std::string> folderNames();
    /// How many embedded messages hold this item, one inside the other.
    int nesting() const;

    /// Makes the item the top that the folder paths of the items below it start from.
    void makeTop() { holder_.reset(); }

    /// Failure "<file name>: <whatFailed> of <description>: <libpff's text>".
    [[noreturn]] void raise(const PffError &error, const std::string &whatFailed);

  private:
    libpff_record_set_t *recordSet(int index);
    std::optional<std::string> readableName(std::uint32_t propertyType);
    std::string describeReadably();
    std::string byIdentifier();

    // Declared first so that it is released last: the file must outlive its items.
    std::shared_ptr<PffFile> file_;
    std::shared_ptr<PffItemHandle> holder_;
    PffItem item_;
    PffItemKind kind_;
    std::vector<PffRecordSet> recordSets_;
    bool recordSetsCounted_ = false;
    bool describing_ = false;
};

/// Describes an item by its identifier alone: "item 2097476".
std::string DescribeItem(std::uint32_t identifier);

} // namespace qb
