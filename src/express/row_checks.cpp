#include "express/row_checks.h"

#include "outlook/row_checks.h"

namespace qb::express {

using outlook::CheckMark;
using outlook::MarkAllRows;

void PushButton5_Click(Platform &platform, ListView &ListView1) {
    MarkAllRows(platform.reporter, ListView1, CheckMark::Set, {"Form2", "PushButton5_Click"});
}

void PushButton3_Click(Platform &platform, ListView &ListView1) {
    MarkAllRows(platform.reporter, ListView1, CheckMark::Clear, {"Form2", "PushButton3_Click"});
}

void PushButton4_Click(Platform &platform, ListView &ListView2) {
    MarkAllRows(platform.reporter, ListView2, CheckMark::Set, {"Form2", "PushButton4_Click"});
}

void PushButton6_Click(Platform &platform, ListView &ListView2) {
    MarkAllRows(platform.reporter, ListView2, CheckMark::Clear, {"Form2", "PushButton6_Click"});
}

} // namespace qb::express
