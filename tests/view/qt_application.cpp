#include "qt_application.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>

namespace qb::test {
namespace {

/// Two screens for the offscreen platform: a large one where the windows open at their designed
/// size, and a small one, as a laptop's, where their content has to scroll.
constexpr const char *offscreenScreens = R"({
  "screens": [
    {"name": "Large", "x": 0, "y": 0, "width": 1920, "height": 1200, "logicalDpi": 96},
    {"name": "Small", "x": 1920, "y": 0, "width": 800, "height": 500, "logicalDpi": 96}
  ]
})";

/// Makes the application, on the offscreen platform with the two screens when the tests run on
/// it; the platform reads their file while the application is made.
QApplication *MakeApplication(int &argc, char **argv) {
    if (qgetenv("QT_QPA_PLATFORM") != "offscreen")
        return new QApplication(argc, argv);
    const QString path = QDir::temp().filePath(
        QStringLiteral("qb_view_tests_screens_%1.json").arg(QCoreApplication::applicationPid()));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(offscreenScreens);
        file.close();
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + path).toUtf8());
    }
    auto *application = new QApplication(argc, argv);
    QFile::remove(path);
    return application;
}

} // namespace

void EnsureQtApplication() {
    static int argc = 1;
    static char name[] = "qb_view_tests";
    static char *argv[] = {name, nullptr};
    // Never destroyed: tearing Qt down among the other exit-time destructors crashes.
    static QApplication *application = MakeApplication(argc, argv);
    (void)application;
}

QScreen *SmallScreen() {
    for (QScreen *screen : QGuiApplication::screens())
        if (screen->availableGeometry().height() <= 600)
            return screen;
    return nullptr;
}

} // namespace qb::test
