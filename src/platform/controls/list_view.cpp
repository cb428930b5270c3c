#include "platform/controls/list_view.h"

#include "failure/failure.h"

namespace qb {
namespace {

constexpr char cellSeparator = '\0';

Failure badIndex() {
    return Failure(35600, "ListView", "Index out of bounds");
}

/// Start and length of cell number `cell` (1-based) in a row's joined cells, or npos.
std::pair<std::size_t, std::size_t> cellSpan(std::string_view cells, int cell) {
    std::size_t start = 0;
    for (int i = 1; i < cell; ++i) {
        const std::size_t separator = cells.find(cellSeparator, start);
        if (separator == std::string_view::npos)
            return {std::string_view::npos, 0};
        start = separator + 1;
    }
    const std::size_t end = cells.find(cellSeparator, start);
    return {start, (end == std::string_view::npos ? cells.size() : end) - start};
}

} // namespace

void ListView::addColumn(const std::string &header, int width) {
    columns_.push_back({header, width});
    if (listener_)
        listener_->columnsChanged();
}

void ListView::setColumnWidth(int column, int width) {
    if (column < 1 || column > static_cast<int>(columns_.size()))
        throw badIndex();
    columns_[static_cast<std::size_t>(column - 1)].width = width;
    if (listener_)
        listener_->columnsChanged();
}

void ListView::clearColumns() {
    columns_.clear();
    if (listener_)
        listener_->columnsChanged();
}

int ListView::addRow(const std::vector<std::string> &cells) {
    Row row;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            row.cells.push_back(cellSeparator);
        for (char c : cells[i])
            if (c != cellSeparator)
                row.cells.push_back(c);
    }
    rows_.push_back(std::move(row));
    const int number = rowCount();
    if (listener_)
        listener_->rowsAppended(number, number);
    return number;
}

void ListView::clear() {
    rows_.clear();
    rows_.shrink_to_fit();
    if (listener_)
        listener_->rowsCleared();
}

void ListView::refresh() {
    if (listener_)
        listener_->repaintRequested();
}

ListView::Row &ListView::rowAt(int row) {
    if (row < 1 || row > rowCount())
        throw badIndex();
    return rows_[static_cast<std::size_t>(row - 1)];
}

const ListView::Row &ListView::rowAt(int row) const {
    if (row < 1 || row > rowCount())
        throw badIndex();
    return rows_[static_cast<std::size_t>(row - 1)];
}

std::string_view ListView::cell(int row, int cell) const {
    const std::string_view cells = rowAt(row).cells;
    const auto [start, length] = cellSpan(cells, cell);
    return start == std::string_view::npos ? std::string_view() : cells.substr(start, length);
}

void ListView::setCell(int row, int cell, std::string_view value) {
    if (cell < 1)
        throw badIndex();
    std::string &cells = rowAt(row).cells;
    int present = 1;
    for (char c : cells)
        present += c == cellSeparator ? 1 : 0;
    for (; present < cell; ++present)
        cells.push_back(cellSeparator);
    const auto [start, length] = cellSpan(cells, cell);
    // A NUL inside the value would split the cell; it cannot be shown anyway.
    std::string clean(value);
    std::erase(clean, cellSeparator);
    cells.replace(start, length, clean);
    if (listener_)
        listener_->rowChanged(row);
}

bool ListView::checked(int row) const {
    return rowAt(row).checked;
}

void ListView::setChecked(int row, bool checked) {
    Row &target = rowAt(row);
    if (target.checked == checked)
        return;
    target.checked = checked;
    if (listener_)
        listener_->rowChanged(row);
}

} // namespace qb
