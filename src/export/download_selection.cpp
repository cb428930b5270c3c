#include "export/download_selection.h"

namespace qb::exporting {
namespace {

// Kept in the order of the steps, a few to a line, so that the three loops read side by side.
// clang-format off
constexpr RowLines checkedItemsLines{
    .loopTest = 182, .rowTest = 184, .sleep = 186, .count = 188, .fetch = 192, .pause = 194,
    .name = 196, .firstReplacement = 198, .path = 216, .save = 218, .oneFileTest = 220,
    .readBack = 222, .write = 224, .deleteSingle = 226, .nextRow = 228};
constexpr RowLines allLines{
    .loopTest = 240, .rowTest = 0, .sleep = 246, .count = 242, .fetch = 248, .pause = 250,
    .name = 252, .firstReplacement = 254, .path = 272, .save = 274, .oneFileTest = 276,
    .readBack = 278, .write = 280, .deleteSingle = 282, .nextRow = 284};
constexpr RowLines folderFilterLines{
    .loopTest = 294, .rowTest = 296, .sleep = 298, .count = 300, .fetch = 304, .pause = 306,
    .name = 308, .firstReplacement = 310, .path = 328, .save = 330, .oneFileTest = 332,
    .readBack = 334, .write = 336, .deleteSingle = 338, .nextRow = 340};
// clang-format on

} // namespace

bool IsStandardFolderChoice(const std::string &comboText) {
    for (const char *folder : standardFolderChoices)
        if (comboText == folder)
            return true;
    return false;
}

Selection SelectionFor(const std::string &comboText) {
    if (comboText == "Checked Items")
        return Selection::CheckedItems;
    if (comboText == "All")
        return Selection::All;
    if (IsStandardFolderChoice(comboText) || comboText == "User-specified Folder")
        return Selection::FolderFilter;
    return Selection::Nothing;
}

bool RowIsTaken(const ListView &list, int row, Selection selection, const std::string &filter) {
    switch (selection) {
    case Selection::CheckedItems:
        return list.checked(row);
    case Selection::All:
        return true;
    case Selection::FolderFilter:
        return list.subItem(row, folderSubItem) == filter ||
               list.subItem(row, subfolderSubItem) == filter;
    case Selection::Nothing:
        break;
    }
    return false;
}

const RowLines &LinesFor(Selection selection) {
    switch (selection) {
    case Selection::CheckedItems:
        return checkedItemsLines;
    case Selection::All:
        return allLines;
    default:
        return folderFilterLines;
    }
}

} // namespace qb::exporting
