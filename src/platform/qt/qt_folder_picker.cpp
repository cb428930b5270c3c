#include "platform/qt/qt_folder_picker.h"

#include "platform/qt/file_dialog_text.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

namespace qb {

std::string QtFolderPicker::browse(WindowModel &, const std::string &prompt,
                                   const std::string &startFolder) {
    const QString start = QString::fromStdString(startFolder);
    const QString chosen = QFileDialog::getExistingDirectory(
        QApplication::activeWindow(), QString::fromStdString(prompt),
        QFileInfo(start).isDir() ? start : QString(), QFileDialog::ShowDirsOnly);
    return chosen.isEmpty() ? std::string() : FolderAnswer(chosen);
}

} // namespace qb
