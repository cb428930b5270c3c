#include "platform/qt/qt_message_viewer.h"

#include "platform/qt/qt_message_boxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace qb {
namespace {

/// What a message of ordinary length needs to be read without scrolling sideways.
constexpr QSize viewerSize(640, 480);

} // namespace

std::unique_ptr<QDialog> MessageViewerDialog(const std::string &title, const std::string &text,
                                             QWidget *parent) {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(QStringLiteral("MessageViewer"));
    dialog->setWindowTitle(QString::fromStdString(title));
    auto *layout = new QVBoxLayout(dialog.get());
    auto *page = new QPlainTextEdit(dialog.get());
    page->setObjectName(QStringLiteral("MessageText"));
    page->setAccessibleName(QStringLiteral("Message text"));
    page->setReadOnly(true);
    page->setPlainText(MessageText(text));
    layout->addWidget(page);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog.get());
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog.get(), &QDialog::reject);
    layout->addWidget(buttons);
    const QScreen *screen = parent ? parent->screen() : QApplication::primaryScreen();
    dialog->resize(viewerSize.boundedTo(screen->availableGeometry().size()));
    page->setFocus();
    return dialog;
}

void QtMessageViewer::show(const std::string &title, const std::string &text) {
    const std::unique_ptr<QDialog> dialog =
        MessageViewerDialog(title, text, QApplication::activeWindow());
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->exec();
}

} // namespace qb
