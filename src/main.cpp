// Quillbarrow: saves e-mail from Outlook data files and Outlook Express mailboxes as text.

#include "app/express_window.h"
#include "app/main_window.h"
#include "app/report.h"
#include "app/settings.h"
#include "app/start_files.h"
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
#include "platform/qt/qt_message_viewer.h"
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
#include <QTimer>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ArgumentsOf(int argc, char *argv[]) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

/// The files of the command line as absolute paths: the window keeps the PST file's path in its
/// settings, where a path relative to the folder the program was started in means nothing.
std::vector<std::string> AbsolutePaths(const std::vector<std::string> &arguments) {
    std::vector<std::string> paths;
    bool optionsEnded = false;
    for (const std::string &argument : arguments) {
        const bool option = !optionsEnded && argument.starts_with('-') && argument.size() > 1;
        optionsEnded = optionsEnded || argument == "--";
        std::error_code error;
        const auto absolute = std::filesystem::absolute(argument, error);
        paths.push_back(option || argument == "--" || error ? argument
                                                            : absolute.lexically_normal().string());
    }
    return paths;
}

} // namespace

int main(int argc, char *argv[]) {
    // Help and version need no display: they are printed before the toolkit starts.
    switch (qb::StartActionOf(ArgumentsOf(argc, argv))) {
    case qb::StartAction::PrintHelp:
        std::fputs(qb::StartUsage().c_str(), stdout);
        return 0;
    case qb::StartAction::PrintVersion:
        std::printf("quillbarrow %s\n", qb::programVersion);
        return 0;
    case qb::StartAction::OpenWindows:
        break;
    }
    // The toolkit takes its own options (-platform, -style, ...) out of argv.
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
    qb::QtMessageViewer viewer;
    qb::PffMailStoreLayer mailStores(qb::OutlookProfileFolder(specialFolders), &events);
    qb::GmimeMimeReader mimeReader;
    const std::unique_ptr<qb::WineRegistry> registry = qb::UserWineRegistry();
    qb::PosixProgramRunner programs;
    qb::ErrorReport reporter(messageBoxes);
    qb::Platform platform{messageBoxes,
                          inputBoxes,
                          fileDialogs,
                          folderPicker,
                          events,
                          clock,
                          settingsStore,
                          specialFolders,
                          files,
                          processes,
                          locale,
                          windows,
                          viewer,
                          mailStores,
                          mimeReader,
                          *registry,
                          programs,
                          reporter,
                          QCoreApplication::applicationDirPath().toStdString(),
                          qb::XdgWorkFolder()};

    qb::Settings settings(settingsStore, platform.messages);
    qb::ExpressWindow expressWindow(platform, settings);
    qb::MainWindow mainWindow(platform, settings, expressWindow);
    const qb::StartFiles start = qb::SortStartFiles(files, AbsolutePaths(ArgumentsOf(argc, argv)));
    // Queued before loading: without a mail store layer, loading opens that window itself.
    expressWindow.addMailboxesOnShow(start.mailboxes);
    mainWindow.load();

    // Closing the main window runs its unload, which ends the program.
    qb::WindowView mainView(mainWindow.window);
    mainView.show();
    QTimer::singleShot(0, &mainView, [&] { mainWindow.openStartFiles(start); });
    return QApplication::exec();
}
