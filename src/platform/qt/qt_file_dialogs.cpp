#include "platform/qt/qt_file_dialogs.h"

#include "platform/qt/file_dialog_text.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qb {
namespace {

QString startPath(const FileDialogRequest &request) {
    // Without a folder of its own the dialog would open in the working folder, which means
    // nothing to a program started from a menu.
    const QString folder = request.initialFolder.empty()
                               ? QDir::homePath()
                               : QString::fromStdString(request.initialFolder);
    const QString name = QString::fromStdString(request.fileName);
    if (name.isEmpty() || QFileInfo(name).isAbsolute())
        return name.isEmpty() ? folder : name;
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

} // namespace

std::string QtFileDialogs::open(const FileDialogRequest &request) {
    const QString title = QString::fromStdString(request.title);
    const QString filter = QtNameFilter(request.filter);
    QWidget *parent = QApplication::activeWindow();
    if (request.multiSelect)
        return JoinChosenFiles(
            QFileDialog::getOpenFileNames(parent, title, startPath(request), filter));
    return QFileDialog::getOpenFileName(parent, title, startPath(request), filter).toStdString();
}

std::string QtFileDialogs::save(const FileDialogRequest &request) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(),
                                        QString::fromStdString(request.title), startPath(request),
                                        QtNameFilter(request.filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite)
        .toStdString();
}

} // namespace qb
