#pragma once

#include <array>
#include <cstddef>

// The columns of the Outlook message list: the one table that the window's column creation, the
// listing's rows and the download's choice of rows all follow.
namespace qb::outlook {

/// The cells of an Outlook message row, in column order: the row's text, then its sub-items.
enum class MessageColumn { Root, Folder, Subfolder, Date, FromTo, Email, Attachments, Subject, Id };

/// One column of the list: what it shows, its header and its width in twips.
struct ColumnLayout {
    MessageColumn column;
    const char *header;
    int width;
};

/// The nine columns, in their order. "ID" keeps each message's EntryID in a column one twip
/// wide, out of sight.
inline constexpr std::array<ColumnLayout, 9> messageColumns{{
    {MessageColumn::Root, "Root", 2000},
    {MessageColumn::Folder, "Folder", 2000},
    {MessageColumn::Subfolder, "Subfolder", 2000},
    {MessageColumn::Date, "Date", 1500},
    {MessageColumn::FromTo, "From/To", 1900},
    {MessageColumn::Email, "Email", 2000},
    {MessageColumn::Attachments, "Attachments", 1500},
    {MessageColumn::Subject, "Subject", 7000},
    {MessageColumn::Id, "ID", 1},
}};

static_assert(
    [] {
        for (std::size_t i = 0; i < messageColumns.size(); ++i)
            if (static_cast<std::size_t>(messageColumns[i].column) != i)
                return false;
        return true;
    }(),
    "the table lists the columns in their order");

/// The sub-item that holds a column's cell: 0 is the row's text (Root), 1 to 8 the others.
constexpr int SubItemOf(MessageColumn column) {
    return static_cast<int>(column);
}

/// Where a column's cell lies among a row's cells, counted from 0 as a row is built.
constexpr std::size_t CellIndexOf(MessageColumn column) {
    return static_cast<std::size_t>(column);
}

} // namespace qb::outlook
