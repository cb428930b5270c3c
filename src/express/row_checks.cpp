#include "express/row_checks.h"

namespace qb::express {

void MarkAllRows(Platform &platform, ListView &list, CheckMark mark, const std::string &procedure) {
    Guard guard(platform.reporter, "Form2", procedure);
    int rows = 0;
    guard.step(100, [&] { rows = list.rowCount(); });
    for (int row = 1; row <= rows; ++row)
        guard.step(102, [&] { list.setChecked(row, mark == CheckMark::Set); });
}

void PushButton5_Click(Platform &platform, ListView &ListView1) {
    MarkAllRows(platform, ListView1, CheckMark::Set, "PushButton5_Click");
}

void PushButton3_Click(Platform &platform, ListView &ListView1) {
    MarkAllRows(platform, ListView1, CheckMark::Clear, "PushButton3_Click");
}

void PushButton4_Click(Platform &platform, ListView &ListView2) {
    MarkAllRows(platform, ListView2, CheckMark::Set, "PushButton4_Click");
}

void PushButton6_Click(Platform &platform, ListView &ListView2) {
    MarkAllRows(platform, ListView2, CheckMark::Clear, "PushButton6_Click");
}

} // namespace qb::express
