#pragma once

#include "failure/guard.h"
#include "platform/controls/list_view.h"

namespace qb::outlook {

enum class CheckMark { Set, Clear };

/// "Select All Items" or "Deselect All Items" beside a list of either window: sets or clears
/// every row's check box, row 1 first, guarded as procedure (line 100 reads the row count, line
/// 102 marks a row). A row that fails is reported and the next one is marked.
void MarkAllRows(FailureReporter &reporter, ListView &list, CheckMark mark,
                 const ProcedureName &procedure);

} // namespace qb::outlook
