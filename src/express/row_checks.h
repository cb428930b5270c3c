#pragma once

#include "platform/controls/list_view.h"
#include "platform/platform.h"

#include <string>

namespace qb::express {

enum class CheckMark { Set, Clear };

/// "Select All Items" or "Deselect All Items" beside a list of the Outlook Express window: sets or
/// clears every row's check box, row 1 first, guarded as "Form2." + procedure (line 100 reads the
/// row count, line 102 marks a row). A row that fails is reported and the next one is marked.
void MarkAllRows(Platform &platform, ListView &list, CheckMark mark, const std::string &procedure);

/// The selection buttons of the DBX file list, ListView1.
void PushButton5_Click(Platform &platform, ListView &ListView1); // "Select All Items"
void PushButton3_Click(Platform &platform, ListView &ListView1); // "Deselect All Items"

/// The selection buttons of the message list, ListView2.
void PushButton4_Click(Platform &platform, ListView &ListView2); // "Select All Items"
void PushButton6_Click(Platform &platform, ListView &ListView2); // "Deselect All Items"

} // namespace qb::express
