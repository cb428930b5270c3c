#include "outlook/row_checks.h"

namespace qb::outlook {

void MarkAllRows(FailureReporter &reporter, ListView &list, CheckMark mark,
                 const ProcedureName &procedure) {
    Guard guard(reporter, procedure);
    int rows = 0;
    guard.step(100, [&] { rows = list.rowCount(); });
    for (int row = 1; row <= rows; ++row)
        guard.step(102, [&] { list.setChecked(row, mark == CheckMark::Set); });
}

} // namespace qb::outlook
