#include "export/download_selection.h"

namespace qb::exporting {
namespace {

constexpr RowLines checkedItemsLines{180, 182, 184, 186, 188, 192, 194, 196,
                                     198, 216, 218, 220, 222, 224, 226, 228};
constexpr RowLines allLines{238, 240, 0,   246, 242, 248, 250, 252,
                            254, 272, 274, 276, 278, 280, 282, 284};
constexpr RowLines folderFilterLines{292, 294, 296, 298, 300, 304, 306, 308,
                                     310, 328, 330, 332, 334, 336, 338, 340};

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
