#include "qt_application.h"

#include <QApplication>

namespace qb::test {

void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "qb_view_tests";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

} // namespace qb::test
