#include "platform/qt/qt_input_boxes.h"
#include "platform/qt/qt_message_viewer.h"
#include "platform/qt/title_width.h"
#include "qt_application.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(Dialogs, MessageBoxesAndTheInputBoxAreWideEnoughForTheirTitles) {
    test::EnsureQtApplication();
    QMessageBox done(QMessageBox::NoIcon, "Quillbarrow", "Done.", QMessageBox::Ok);
    WidenForTitle(done);
    done.show();
    EXPECT_GE(done.width(), TitleBarWidth(done, "Quillbarrow"));
    done.close();

    QInputDialog ask;
    PrepareInputDialog(ask, "Enter folder name: ", "Input Folder Name", "Inbox");
    ask.show();
    EXPECT_GE(ask.width(), TitleBarWidth(ask, "Input Folder Name"));
    EXPECT_EQ(ask.windowTitle(), QString("Input Folder Name"));
    EXPECT_EQ(ask.textValue(), QString("Inbox"));
    ask.close();
}

TEST(Dialogs, TheMessageViewerShowsTheTextReadOnlyAndEscapeClosesIt) {
    test::EnsureQtApplication();
    const auto viewer = MessageViewerDialog(
        "Lunch on Friday", "From:\tSaqib\r\nAttachments:\tmenu.pdf\r\n\r\nSee you.\r\n");
    viewer->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(viewer.get()));
    auto *page = viewer->findChild<QPlainTextEdit *>("MessageText");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(viewer->windowTitle(), QString("Lunch on Friday"));
    EXPECT_EQ(page->toPlainText(), QString("From:\tSaqib\nAttachments:\tmenu.pdf\n\nSee you.\n"));
    EXPECT_TRUE(page->isReadOnly());
    QTest::keyClick(page, Qt::Key_Escape);
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(viewer->result(), QDialog::Rejected);
}

} // namespace
} // namespace qb
