#include "platform/qt/qt_window_host.h"

#include "failure/failure.h"
#include "platform/qt/pointer_cursor.h"
#include "platform/qt/window_view.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QImageReader>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>

namespace qb {
namespace {

Failure invalidPicture() {
    return Failure(481, "Cursor", "Invalid picture");
}

std::uint16_t word(const QByteArray &bytes, int offset) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                      static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

/// The hot spot of the file's first image. The directory of a cursor file (type 2) keeps it
/// where an icon file keeps planes and bit count; an icon's hot spot is its top-left corner.
QPoint hotSpot(const QByteArray &head) {
    constexpr int directorySize = 6;
    constexpr int entrySize = 16;
    if (head.size() < directorySize + entrySize || word(head, 0) != 0 || word(head, 4) == 0)
        throw invalidPicture();
    const std::uint16_t type = word(head, 2);
    if (type == 1)
        return QPoint(0, 0);
    if (type != 2)
        throw invalidPicture();
    return QPoint(word(head, directorySize + 4), word(head, directorySize + 6));
}

} // namespace

void QtWindowHost::showModal(WindowModel &window) {
    WindowView view(window);
    view.setWindowModality(Qt::ApplicationModal);
    // It fits itself to the screen of the window it opens over.
    if (const QWidget *over = QApplication::activeWindow())
        view.setScreen(over->screen());
    QEventLoop loop;
    QObject::connect(&view, &WindowView::closed, &loop, &QEventLoop::quit);
    view.show();
    loop.exec(QEventLoop::DialogExec);
}

std::shared_ptr<PointerImage> QtWindowHost::loadPointer(const std::string &path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        throw invalidPicture();
    const QPoint spot = hotSpot(file.peek(22));
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format != "ico" && format != "cur")
        throw invalidPicture();
    const QImage image = reader.read();
    if (image.isNull())
        throw invalidPicture();
    return std::make_shared<CursorPointerImage>(
        QCursor(QPixmap::fromImage(image), spot.x(), spot.y()));
}

void QtWindowHost::endProgram() {
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace qb
