#pragma once

#include "pst/pff_item_handle.h"

#include <memory>
#include <string>

namespace qb {

/// One kind of child a libpff item has (subfolders, messages, attachments): the library's calls
/// that count them and give one by index, what the children are, and how failures name them.
struct PffChildKind {
    int (*count)(libpff_item_t *parent, int *count, libpff_error_t **error);
    int (*child)(libpff_item_t *parent, int index, libpff_item_t **child, libpff_error_t **error);
    PffItemKind kind;
    const char *noun; // "subfolder", "message", "attachment"
};

inline constexpr PffChildKind pffSubfolders{libpff_folder_get_number_of_sub_folders,
                                            libpff_folder_get_sub_folder, PffItemKind::folder,
                                            "subfolder"};
inline constexpr PffChildKind pffMessages{libpff_folder_get_number_of_sub_messages,
                                          libpff_folder_get_sub_message, PffItemKind::message,
                                          "message"};
inline constexpr PffChildKind pffAttachments{libpff_message_get_number_of_attachments,
                                             libpff_message_get_attachment, PffItemKind::attachment,
                                             "attachment"};

/// The children of one kind of an item, counted from 1 as Outlook's collections are; each is
/// read when asked for and keeps its parent as its holder.
class PffChildren {
  public:
    PffChildren(std::shared_ptr<PffItemHandle> parent, const PffChildKind &kind);

    /// How many there are; throws Failure naming the parent when they cannot be counted.
    int count();
    /// Child `index` (1 to count()); throws Failure for an index out of range and when the
    /// child cannot be read.
    std::shared_ptr<PffItemHandle> item(int index);

  private:
    std::shared_ptr<PffItemHandle> parent_;
    const PffChildKind &kind_;
};

/// The failure of a collection asked for an item it does not have.
[[noreturn]] void RaiseIndexOutOfBounds(int index, int count);

} // namespace qb
