#pragma once

#include "platform/controls/list_view.h"
#include "platform/platform.h"

namespace qb::express {

/// The selection buttons of the DBX file list, ListView1: every row checked or unchecked, as
/// the main window's "Select All Items" does it (outlook::MarkAllRows), guarded as "Form2." +
/// the button's designed name.
void PushButton5_Click(Platform &platform, ListView &ListView1); // "Select All Items"
void PushButton3_Click(Platform &platform, ListView &ListView1); // "Deselect All Items"

/// The selection buttons of the message list, ListView2.
void PushButton4_Click(Platform &platform, ListView &ListView2); // "Select All Items"
void PushButton6_Click(Platform &platform, ListView &ListView2); // "Deselect All Items"

} // namespace qb::express
