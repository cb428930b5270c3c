#include "app/express_window.h"
#include "app/settings.h"
#include "failure/failure.h"
#include "platform/qt/pointer_cursor.h"
#include "platform/qt/qt_window_host.h"
#include "platform/qt/window_view.h"
#include "qt_application.h"
#include "support/test_platform.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace qb {
namespace {

void putWord(std::string &bytes, unsigned value) {
    bytes.push_back(static_cast<char>(value & 0xff));
    bytes.push_back(static_cast<char>(value >> 8 & 0xff));
}

void putLong(std::string &bytes, unsigned value) {
    putWord(bytes, value & 0xffff);
    putWord(bytes, value >> 16);
}

/// A 2 x 2 Windows cursor of 32-bit pixels whose hot spot is (1, 1).
std::string tinyCursor() {
    std::string file;
    putWord(file, 0); // reserved
    putWord(file, 2); // cursor
    putWord(file, 1); // one image
    const unsigned imageSize = 40 + 2 * 2 * 4 + 2 * 4;
    file += std::string{2, 2, 0, 0}; // width, height, colours, reserved
    putWord(file, 1);                // hot spot x
    putWord(file, 1);                // hot spot y
    putLong(file, imageSize);
    putLong(file, 6 + 16);
    putLong(file, 40); // bitmap header
    putLong(file, 2);
    putLong(file, 4); // colour and mask rows
    putWord(file, 1);
    putWord(file, 32);
    for (int i = 0; i < 6; ++i)
        putLong(file, 0);
    for (int pixel = 0; pixel < 4; ++pixel)
        putLong(file, 0xff000000u);
    for (int row = 0; row < 2; ++row)
        putLong(file, 0);
    return file;
}

class QtWindowHostTest : public ::testing::Test {
  protected:
    QtWindowHostTest() { test::EnsureQtApplication(); }
    test::TempFolder folder;
    QtWindowHost host;
};

TEST_F(QtWindowHostTest, LoadsACursorFileWithItsHotSpot) {
    folder.write("HAND-M.CUR", tinyCursor());
    const auto image = host.loadPointer(folder / "HAND-M.CUR");
    const auto *cursor = dynamic_cast<const CursorPointerImage *>(image.get());
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->cursor().hotSpot(), QPoint(1, 1));
    EXPECT_EQ(cursor->cursor().pixmap().size(), QSize(2, 2));

    WindowModel window("Form1", 1500, 1500);
    window.setCustomPointer(image);
    window.setPointer(MousePointer::Custom);
    EXPECT_EQ(CursorFor(window).shape(), Qt::BitmapCursor);
}

TEST_F(QtWindowHostTest, DamagedOrMissingCursorFileFails) {
    folder.write("garbage.cur", "this is not a cursor at all, just some text");
    std::string cut = tinyCursor();
    cut.resize(30);
    folder.write("cut.cur", cut);
    for (const char *name : {"garbage.cur", "cut.cur", "missing.cur"}) {
        SCOPED_TRACE(name);
        try {
            host.loadPointer(folder / name);
            FAIL() << "the file should not load";
        } catch (const Failure &failure) {
            EXPECT_EQ(failure.number(), 481);
            EXPECT_EQ(failure.source(), "Cursor");
        }
    }
}

TEST_F(QtWindowHostTest, ShowModalReturnsWhenTheWindowHasClosed) {
    test::TestPlatform standIns;
    Settings settings(standIns.settings, standIns.platform.messages);
    ExpressWindow form(standIns.platform, settings);
    bool unloaded = false;
    bool wasModal = false;
    form.window.onUnload = [&] { unloaded = true; };
    QTimer::singleShot(0, [&] {
        for (QWidget *shown : QApplication::topLevelWidgets())
            if (auto *view = qobject_cast<WindowView *>(shown); view && view->isVisible()) {
                wasModal = view->isModal();
                view->close();
            }
    });
    host.showModal(form.window);
    EXPECT_TRUE(unloaded);
    EXPECT_TRUE(wasModal);
    // The view has gone: the models no longer reach it.
    EXPECT_FALSE(form.window.viewChanged);
    EXPECT_FALSE(form.PushButton23.viewChanged);
    form.ListView2.addColumn("From", 1500);
    form.ListView2.addRow({"someone@example.org"});
    EXPECT_EQ(form.ListView2.rowCount(), 1);
}

} // namespace
} // namespace qb
