#pragma once

class QScreen;

namespace qb::test {

/// Makes sure the one QApplication of the test program exists (offscreen in the test runs, with
/// a large screen first and a small one beside it).
void EnsureQtApplication();

/// A screen of at most 600 pixels' height, or null when the platform has none.
QScreen *SmallScreen();

} // namespace qb::test
