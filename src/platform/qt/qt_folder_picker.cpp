#include "platform/qt/qt_folder_picker.h"

#include "platform/qt/file_dialog_text.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace qb {
namespace {

/// The folder itself when it exists, else its nearest existing parent, else the root. Qt's
/// dialog opens on the working directory when given a folder it cannot find, and an immediate
/// OK would then choose that.
QString existingFolder(const QString &folder) {
    if (folder.isEmpty())
        return QDir::rootPath();
    QDir dir(QDir::cleanPath(folder));
    while (!dir.exists() && !dir.isRoot())
        dir.setPath(QFileInfo(dir.path()).path());
    return dir.path();
}

} // namespace

QString QtFolderPicker::openingFolder(const QString &startFolder) {
    if (!startFolder.isEmpty() && QFileInfo(startFolder).isDir())
        return startFolder;
    return existingFolder(QString::fromStdString(folders_.path(desktopFolderNumber)));
}

std::string QtFolderPicker::browse(WindowModel &, const std::string &prompt,
                                   const std::string &startFolder) {
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), QString::fromStdString(prompt),
        openingFolder(QString::fromStdString(startFolder)), QFileDialog::ShowDirsOnly);
    return chosen.isEmpty() ? std::string() : FolderAnswer(chosen);
}

} // namespace qb
