// Quillbarrow: saves e-mail from Outlook data files and Outlook Express mailboxes as text.

#include "app/express_window.h"
#include "app/main_window.h"
#include "app/report.h"
#include "app/settings.h"
#include "mime/gmime_mime_reader.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/posix_program_runner.h"
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
#include "pst/pff_mail_store.h"
#include "version/program_version.h"
#include "wine/wine_path_file_system.h"
#include "wine/wine_paths.h"
#include "wine/wine_registry.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[]) {
    if (qb::PrintVersionWhenAsked(argc, argv, "quillbarrow"))
        return 0;
    QApplication application(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quillbarrow.png")));

    qb::QtMessageBoxes messageBoxes;
    qb::QtInputBoxes inputBoxes;
    qb::QtFileDialogs fileDialogs;
    qb::QtEventPump events;
    qb::SystemClock clock;
    qb::QSettingsStore settingsStore(qb::QSettingsStore::pathIn(qb::XdgConfigFolder()));
    qb::XdgSpecialFolders specialFolders;
    qb::QtFolderPicker folderPicker(specialFolders);
    qb::PosixFileSystem disk;
    // Paths read from the Wine registry ("C:\users\...") reach their files through Wine's drives.
    qb::WinePathFileSystem files(disk, qb::WinePrefix());
    qb::ProcProcesses processes;
    qb::QtTextLocale locale;
    qb::QtWindowHost windows;
    qb::PffMailStoreLayer mailStores(specialFolders.documents() + "/Outlook Files");
    qb::GmimeMimeReader mimeReader;
    const std::unique_ptr<qb::WineRegistry> registry = qb::UserWineRegistry();
    qb::PosixProgramRunner programs;
    qb::ErrorReport reporter(messageBoxes);
    qb::Platform platform{
        messageBoxes,       inputBoxes,     fileDialogs,
        folderPicker,       events,         clock,
        settingsStore,      specialFolders, files,
        processes,          locale,         windows,
        mailStores,         mimeReader,     *registry,
        programs,           reporter,       QCoreApplication::applicationDirPath().toStdString(),
        qb::XdgWorkFolder()};

    qb::Settings settings(settingsStore, platform.messages);
    qb::ExpressWindow expressWindow(platform, settings);
    qb::MainWindow mainWindow(platform, settings, expressWindow);
    mainWindow.load();

    // Closing the main window runs its unload, which ends the program.
    qb::WindowView mainView(mainWindow.window);
    mainView.show();
    return QApplication::exec();
}
