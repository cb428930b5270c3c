#pragma once

namespace qb::test {

/// Makes sure the one QApplication of the test program exists (offscreen in the test runs).
void EnsureQtApplication();

} // namespace qb::test
