#include "qt_application.h"

#include <QApplication>

namespace qb::test {

void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "qb_view_tests";
    static char *argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down among the other exit-time destructors crashes.
    static QApplication *application = new QApplication(argc, argv);
    (void)application;
}

} // namespace qb::test
