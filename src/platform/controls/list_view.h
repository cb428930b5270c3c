#pragma once

#include "platform/controls/control.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qb {

/// What the drawing layer hears of a list view's changes.
class ListViewListener {
  public:
    virtual ~ListViewListener() = default;
    virtual void columnsChanged() = 0;
    virtual void rowsAppended(int firstRow, int lastRow) = 0;
    virtual void rowsCleared() = 0;
    virtual void rowChanged(int row) = 0;
    virtual void repaintRequested() = 0;
};

struct ListColumn {
    std::string header;
    int width = 0; // twips
};

/// A report-style list view with one check box per row. Rows, cells and columns are counted
/// from 1 as the window logic counts them: cell 1 is the row's text, cell k + 1 its sub-item k.
///
/// Rows are plain storage: one string per row holding its cells separated by NUL characters,
/// so a list of a hundred thousand messages costs little more than its text.
class ListView : public Control {
  public:
    ListView(std::string name, TwipRect rect, Frame *container = nullptr)
        : Control(ControlKind::ListView, std::move(name), std::string(), rect, container) {}

    void addColumn(const std::string &header, int width);
    void setColumnWidth(int column, int width);
    void clearColumns();
    const std::vector<ListColumn> &columns() const { return columns_; }
    /// The column widths a list view gets when the window logic gives none.
    static constexpr int defaultColumnWidth = 1440;

    int rowCount() const { return static_cast<int>(rows_.size()); }
    /// Appends an unchecked row and returns its number.
    int addRow(const std::vector<std::string> &cells);
    void clear();
    /// Asks the drawing layer to repaint the list now.
    void refresh();

    /// Cell of row (1-based); cell 1 is the row's text. An absent cell is empty.
    std::string_view cell(int row, int cell) const;
    std::string_view text(int row) const { return cell(row, 1); }
    std::string_view subItem(int row, int index) const { return cell(row, index + 1); }
    void setCell(int row, int cell, std::string_view value);
    void setSubItem(int row, int index, std::string_view value) { setCell(row, index + 1, value); }

    bool checked(int row) const;
    void setChecked(int row, bool checked);

    /// The cell that names a row to a screen reader, announced with the row's check box: the
    /// row's text unless the window logic chooses another cell (the subject of a message).
    int rowNameCell() const { return rowNameCell_; }
    void setRowNameCell(int cell) { rowNameCell_ = cell; }

    /// Double-click or Enter on a row: the window logic's handler, given the row (from 1).
    std::function<void(int row)> onOpen;
    void open(int row) {
        if (onOpen)
            onOpen(row);
    }

    /// The drawing layer's listener; the logic never sets it.
    void setListener(ListViewListener *listener) { listener_ = listener; }

  private:
    struct Row {
        std::string cells; // cells separated by '\0'
        bool checked = false;
    };
    Row &rowAt(int row);
    const Row &rowAt(int row) const;

    std::vector<ListColumn> columns_;
    std::vector<Row> rows_;
    int rowNameCell_ = 1;
    ListViewListener *listener_ = nullptr;
};

} // namespace qb
