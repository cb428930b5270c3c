// Quillbarrow: saves e-mail from Outlook data files and Outlook Express mailboxes as text.

#include "app/express_window.h"
#include "app/main_window.h"
#include "app/report.h"
#include "app/settings.h"
#include "platform/linux/pff_mail_store.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/proc_processes.h"
#include "platform/linux/system_clock.h"
#include "platform/linux/xdg_special_folders.h"
#include "platform/platform.h"
#include "platform/qt/qsettings_store.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_file_dialogs.h"
#include "platform/qt/qt_folder_picker.h"
#include "platform/qt/qt_input_boxes.h"
#include "platform/qt/qt_message_boxes.h"
#include "platform/qt/qt_text_locale.h"
#include "platform/qt/qt_window_host.h"
#include "platform/qt/window_view.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const auto programStart = std::chrono::steady_clock::now();

/// For start-up measurements: when QUILLBARROW_EXIT_AFTER_SHOW is "1", prints the milliseconds
/// from start to the main window's first paint and ends the program there.
class ExitAfterFirstPaint : public QObject {
  public:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint) {
            const auto elapsed = std::chrono::steady_clock::now() - programStart;
            std::printf("main window shown after %.1f ms\n",
                        std::chrono::duration<double, std::milli>(elapsed).count());
            std::fflush(stdout);
            std::_Exit(0);
        }
        return QObject::eventFilter(watched, event);
    }
};

bool exitAfterShow() {
    const char *value = std::getenv("QUILLBARROW_EXIT_AFTER_SHOW");
    return value && std::strcmp(value, "1") == 0;
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillbarrow.png")));

    qb::QtMessageBoxes messageBoxes;
    qb::QtInputBoxes inputBoxes;
    qb::QtFileDialogs fileDialogs;
    qb::QtEventPump events;
    qb::SystemClock clock;
    qb::QSettingsStore settingsStore(qb::QSettingsStore::defaultPath());
    qb::XdgSpecialFolders specialFolders;
    qb::QtFolderPicker folderPicker(specialFolders);
    qb::PosixFileSystem files;
    qb::ProcProcesses processes;
    qb::QtTextLocale locale;
    qb::QtWindowHost windows;
    qb::PffMailStoreLayer mailStores(specialFolders.documents() + "/Outlook Files");
    qb::ErrorReport reporter(messageBoxes);
    qb::Platform platform{
        messageBoxes,  inputBoxes,     fileDialogs,
        folderPicker,  events,         clock,
        settingsStore, specialFolders, files,
        processes,     locale,         windows,
        mailStores,    reporter,       QCoreApplication::applicationDirPath().toStdString()};

    qb::Settings settings(platform);
    qb::ExpressWindow expressWindow(platform, settings);
    qb::MainWindow mainWindow(platform, settings, expressWindow);
    mainWindow.Form_Load();

    // Closing the main window runs its unload, which ends the program.
    qb::WindowView mainView(mainWindow.window);
    ExitAfterFirstPaint exitAfterPaint;
    if (exitAfterShow())
        mainView.installEventFilter(&exitAfterPaint);
    mainView.show();
    return QApplication::exec();
}
