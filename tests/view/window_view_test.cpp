#include "app/express_window.h"
#include "app/main_window.h"
#include "platform/qt/status_line_widget.h"
#include "platform/qt/window_view.h"
#include "qt_application.h"
#include "support/test_platform.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace qb {
namespace {

/// The real main window, loaded from empty settings, in a shown view.
class MainWindowView : public ::testing::Test {
  protected:
    MainWindowView() {
        test::EnsureQtApplication();
        mainWindow.load();
        view = std::make_unique<WindowView>(mainWindow.window);
        view->show();
    }

    template <typename Widget> Widget *widget(const char *name) {
        return view->findChild<Widget *>(QString::fromLatin1(name));
    }

    /// A caption as the user reads it: without the "&" that marks its access key.
    static QString withoutAccessKey(QString text) {
        if (const qsizetype mark = text.indexOf(QLatin1Char('&')); mark >= 0)
            text.remove(mark, 1);
        return text;
    }

    /// Moves the pointer over a point of the widget (its centre by default), as the window
    /// system reports it.
    void moveOver(QWidget *target, std::optional<QPointF> point = std::nullopt) {
        const QPointF local = point.value_or(QRectF(target->rect()).center());
        QMouseEvent move(QEvent::MouseMove, local, target->mapToGlobal(local), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &move);
    }

    test::TestPlatform standIns;
    Settings settings{standIns.settings, standIns.platform.messages};
    ExpressWindow expressWindow{standIns.platform, settings};
    MainWindow mainWindow{standIns.platform, settings, expressWindow};
    std::unique_ptr<WindowView> view;
};

TEST_F(MainWindowView, WindowOpensAtItsDesignedSizeWhichIsAlsoItsSmallest) {
    const QSize designed(8040 / 15, 9705 / 15);
    EXPECT_EQ(view->designedArea().size(), designed);
    // The status line lies below the designed area, which it does not shrink.
    const QRect status = view->statusLine().geometry();
    EXPECT_EQ(status.top(), designed.height());
    EXPECT_EQ(view->size(), QSize(designed.width(), designed.height() + status.height()));
    EXPECT_EQ(view->minimumSize(), view->size());
    EXPECT_EQ(view->windowTitle(), QString("Quillbarrow"));
    EXPECT_GT(view->maximumSize().width(), designed.width());
    view->resize(designed - QSize(100, 100));
    EXPECT_EQ(view->designedArea().size(), designed);
}

TEST_F(MainWindowView, OnASmallScreenTheWindowFitsAndEveryControlCanBeScrolledTo) {
    QScreen *small = test::SmallScreen();
    if (!small)
        GTEST_SKIP() << "the platform has no screen of 600 pixels' height or less";
    WindowView onSmall(mainWindow.window);
    onSmall.setScreen(small);
    onSmall.move(small->availableGeometry().topLeft());
    onSmall.show();
    const QSize room = small->availableGeometry().size();
    EXPECT_LE(onSmall.height(), room.height());
    EXPECT_LT(onSmall.minimumHeight(), 9705 / 15);
    // The designed area keeps its designed height and scrolls instead; the window is wider by
    // the vertical scroll bar, so no scrolling sideways is needed.
    EXPECT_EQ(onSmall.designedArea().height(), 9705 / 15);
    EXPECT_GE(onSmall.designedArea().width(), 8040 / 15);
    EXPECT_EQ(onSmall.scrollArea().horizontalScrollBar()->maximum(), 0);
    QScrollBar *scroll = onSmall.scrollArea().verticalScrollBar();
    EXPECT_GT(scroll->maximum(), 0);
    // Every control can be brought into sight: the one at the bottom as well.
    QWidget *last = onSmall.widgetOf(mainWindow.PushButton3);
    onSmall.scrollArea().ensureWidgetVisible(last);
    const QRect inViewport(last->mapTo(onSmall.scrollArea().viewport(), QPoint(0, 0)),
                           last->size());
    EXPECT_TRUE(onSmall.scrollArea().viewport()->rect().contains(inViewport));
    EXPECT_EQ(scroll->value(), scroll->maximum());
}

TEST(WindowSizesForScreen, TheDesignedSizeIsTheSmallestOnlyWhereItFits) {
    const QSize wanted(536, 672);
    const struct {
        QSize room;
        QSize smallest;
        QSize first;
    } cases[] = {
        {{1904, 1152}, wanted, wanted},
        {{536, 672}, wanted, wanted},
        // QT_SCALE_FACTOR=2 on a 1600 x 1000 screen: wider by the vertical scroll bar
        {{784, 452}, {240, 180}, {552, 452}},
        {{500, 900}, {240, 180}, {500, 688}}, // too narrow: taller by the horizontal one
        {{200, 100}, {240, 180}, {200, 100}}, // smaller than anything
    };
    for (const auto &c : cases) {
        const WindowSizes sizes = SizesForScreen(wanted, c.room, 16);
        EXPECT_EQ(sizes.smallest, c.smallest) << c.room.width() << "x" << c.room.height();
        EXPECT_EQ(sizes.first, c.first) << c.room.width() << "x" << c.room.height();
    }
}

TEST_F(MainWindowView, ALargerWindowGivesTheListTheHeightAndTheWideControlsTheWidth) {
    struct Change {
        const char *control;
        int dx, dy, dw, dh; // pixels, relative to the control's container
    };
    const int w = 150; // extra width
    const int h = 300; // extra height
    const Change changes[] = {
        {"PushButton7", 0, 0, w, 0},
        {"Frame1", 0, 0, w, 0},
        {"Option3", 0, 0, 0, 0},
        {"Text2", 0, 0, w, 0},
        {"PushButton8", w, 0, 0, 0},
        {"PushButton1", 0, 0, w, 0},
        {"ListView1", 0, 0, w, h},
        {"PushButton5", 0, h, w / 2, 0},
        {"PushButton6", w / 2, h, w / 2, 0},
        {"Frame3", 0, h, w, 0},
        {"Text1", 0, 0, w, 0},
        {"PushButton2", w, 0, 0, 0},
        {"Frame2", 0, h, w, 0},
        {"Option1", 0, 0, 0, 0},
        {"Frame4", 0, h, w, 0},
        {"Combo1", 0, 0, w, 0},
        {"Frame5", 0, h, w, 0},
        {"Text3", 0, 0, w, 0},
        {"PushButton9", w, 0, 0, 0},
        {"PushButton3", 0, h, w, 0},
    };
    std::map<std::string, QRect> designed;
    for (const Change &change : changes)
        designed[change.control] = widget<QWidget>(change.control)->geometry();
    view->resize(view->size() + QSize(w, h));
    for (const Change &change : changes) {
        SCOPED_TRACE(change.control);
        const QRect before = designed[change.control];
        EXPECT_EQ(widget<QWidget>(change.control)->geometry(),
                  QRect(before.x() + change.dx, before.y() + change.dy, before.width() + change.dw,
                        before.height() + change.dh));
    }
    // Back at the designed size every control is at its designed place again.
    view->resize(view->minimumSize());
    for (const Change &change : changes)
        EXPECT_EQ(widget<QWidget>(change.control)->geometry(), designed[change.control])
            << change.control;
}

TEST_F(MainWindowView, EveryControlSitsAtItsTwipRectangleInsideItsFrame) {
    for (Control *control : mainWindow.window.controls()) {
        SCOPED_TRACE(control->name());
        QWidget *shown = view->findChild<QWidget *>(QString::fromStdString(control->name()));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown, view->widgetOf(*control));
        const TwipRect &rect = control->rect();
        EXPECT_EQ(shown->geometry(),
                  QRect(rect.left / 15, rect.top / 15, rect.width / 15, rect.height / 15));
        QWidget *expectedParent =
            control->container() ? view->widgetOf(*control->container()) : &view->designedArea();
        EXPECT_EQ(shown->parentWidget(), expectedParent);
    }
}

TEST_F(MainWindowView, EachKindOfControlHasItsWidgetAndCaption) {
    EXPECT_EQ(withoutAccessKey(widget<QGroupBox>("Frame1")->title()), QString("Source"));
    EXPECT_EQ(withoutAccessKey(widget<QPushButton>("PushButton1")->text()),
              QString("Get Emails From Outlook"));
    EXPECT_EQ(widget<QPushButton>("PushButton1")->accessibleName(),
              QString("Get Emails From Outlook"));
    EXPECT_EQ(withoutAccessKey(widget<QRadioButton>("Option4")->text()), QString("PST File:"));
    EXPECT_NE(widget<QLineEdit>("Text2"), nullptr);
    EXPECT_FALSE(widget<QComboBox>("Combo1")->isEditable());
    EXPECT_EQ(widget<QComboBox>("Combo1")->count(), 8);
    EXPECT_EQ(widget<QComboBox>("Combo1")->currentText(), QString("Checked Items"));
    EXPECT_NE(widget<QTreeView>("ListView1"), nullptr);
}

TEST_F(MainWindowView, LoadedStateShows) {
    EXPECT_TRUE(widget<QRadioButton>("Option1")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("Option3")->isChecked());
    EXPECT_EQ(widget<QLineEdit>("Text3")->text(), QString("/home/user/Desktop/"));
}

TEST_F(MainWindowView, WhiteWindowFramesAndOptionButtons) {
    for (QWidget *shown :
         {static_cast<QWidget *>(view.get()), static_cast<QWidget *>(widget<QGroupBox>("Frame2")),
          static_cast<QWidget *>(widget<QRadioButton>("Option1"))}) {
        EXPECT_EQ(shown->palette().color(QPalette::Window), QColor(Qt::white));
    }
    EXPECT_TRUE(view->autoFillBackground());
    EXPECT_TRUE(widget<QGroupBox>("Frame2")->autoFillBackground());
    // An option button of its frame's colour shows the frame through.
    EXPECT_FALSE(widget<QRadioButton>("Option1")->autoFillBackground());
    mainWindow.Frame2.setBackColour(BackColour::ButtonFace);
    EXPECT_EQ(widget<QGroupBox>("Frame2")->palette().color(QPalette::Window),
              QApplication::palette().color(QPalette::Button));
}

TEST_F(MainWindowView, TypingSendsTheWholeTextOncePerEdit) {
    std::vector<std::string> seen;
    mainWindow.Text1.onChange = [&] { seen.push_back(mainWindow.Text1.text()); };
    QTest::keyClicks(widget<QLineEdit>("Text1"), "ab");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "ab"}));
    EXPECT_EQ(mainWindow.Text1.text(), "ab");
}

TEST_F(MainWindowView, TextSetByTheLogicShowsWithoutEchoingBack) {
    int changes = 0;
    mainWindow.Text2.onChange = [&] { ++changes; };
    mainWindow.Text2.setText("/data/mail.pst");
    EXPECT_EQ(widget<QLineEdit>("Text2")->text(), QString("/data/mail.pst"));
    EXPECT_EQ(changes, 1);
}

TEST_F(MainWindowView, ClickingAnOptionSelectsItAndClearsItsPartner) {
    QTest::mouseClick(widget<QRadioButton>("Option2"), Qt::LeftButton);
    EXPECT_TRUE(mainWindow.Option2.value());
    EXPECT_FALSE(mainWindow.Option1.value());
    EXPECT_TRUE(widget<QRadioButton>("Option2")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("Option1")->isChecked());
    EXPECT_EQ(standIns.settings.values["Option2"], "True");

    // Clicking the selected button again keeps it selected.
    QTest::mouseClick(widget<QRadioButton>("Option2"), Qt::LeftButton);
    EXPECT_TRUE(widget<QRadioButton>("Option2")->isChecked());
    EXPECT_TRUE(mainWindow.Option2.value());
}

TEST_F(MainWindowView, ChoosingInTheDropDownSetsTheListIndex) {
    QComboBox *combo = widget<QComboBox>("Combo1");
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(mainWindow.Combo1.listIndex(), 1);
    EXPECT_EQ(standIns.settings.values["Combo1"], "1");

    mainWindow.Combo1.setListIndex(5);
    EXPECT_EQ(combo->currentText(), QString("Sent Items"));
}

TEST_F(MainWindowView, PushButtonClickReachesTheLogic) {
    int clicks = 0;
    mainWindow.PushButton5.onClick = [&] { ++clicks; };
    QTest::mouseClick(widget<QPushButton>("PushButton5"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(MainWindowView, EnabledStateFollowsTheModel) {
    mainWindow.PushButton3.setEnabled(false);
    EXPECT_FALSE(widget<QPushButton>("PushButton3")->isEnabled());
    mainWindow.PushButton3.setEnabled(true);
    EXPECT_TRUE(widget<QPushButton>("PushButton3")->isEnabled());
}

TEST_F(MainWindowView, TabOrderRunsRowByRowAndEndsAtStop) {
    const char *const expected[] = {"PushButton7", "Option3",     "Option4",     "Text2",
                                    "PushButton8", "PushButton4", "PushButton1", "ListView1",
                                    "PushButton5", "PushButton6", "Text1",       "PushButton2",
                                    "Option1",     "Option2",     "Combo1",      "Text3",
                                    "PushButton9", "PushButton3", "Stop"};
    QWidget *current = widget<QWidget>("PushButton7");
    for (const char *name : expected) {
        SCOPED_TRACE(name);
        // Skip what Tab passes over: frames, labels, the parts a list is made of.
        while (!(current->focusPolicy() & Qt::TabFocus) || current->objectName().isEmpty() ||
               current->objectName().startsWith("qt_"))
            current = current->nextInFocusChain();
        EXPECT_EQ(current->objectName(), QString(name));
        current = current->nextInFocusChain();
    }
}

TEST_F(MainWindowView, TheFocusGoesWhereTheLogicGivesItEachTime) {
    mainWindow.window.setFocus(mainWindow.Text1);
    EXPECT_EQ(view->focusWidget(), widget<QLineEdit>("Text1"));
    // The user moves it; the same request again brings it back.
    widget<QPushButton>("PushButton5")->setFocus();
    mainWindow.window.setFocus(mainWindow.Text1);
    EXPECT_EQ(view->focusWidget(), widget<QLineEdit>("Text1"));
}

TEST_F(MainWindowView, PointerFollowsTheMouseRules) {
    moveOver(widget<QPushButton>("PushButton1"));
    EXPECT_EQ(mainWindow.window.pointer(), MousePointer::Custom);
    // Without a loaded hand the custom pointer is the arrow.
    EXPECT_EQ(view->cursor().shape(), Qt::ArrowCursor);

    moveOver(widget<QGroupBox>("Frame3"), QPointF(4, 4)); // beside the frame's controls
    EXPECT_EQ(mainWindow.window.pointer(), MousePointer::Default);

    // A button inside a frame shows the hand; the frame must not take it back.
    moveOver(widget<QPushButton>("PushButton2"));
    EXPECT_EQ(mainWindow.window.pointer(), MousePointer::Custom);

    mainWindow.window.setPointer(MousePointer::Busy);
    EXPECT_EQ(view->cursor().shape(), Qt::WaitCursor);
    moveOver(widget<QPushButton>("PushButton1"));
    EXPECT_EQ(mainWindow.window.pointer(), MousePointer::Busy);
}

TEST_F(MainWindowView, MouseOverTheWindowBackgroundRunsTheWindowHandler) {
    int moves = 0;
    mainWindow.window.onMouseMove = [&] { ++moves; };
    const QPointF gap(4, 4); // left of every control
    QMouseEvent move(QEvent::MouseMove, gap, view->mapToGlobal(gap), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view.get(), &move);
    EXPECT_EQ(moves, 1);
}

TEST_F(MainWindowView, SkinIsTheWindowsStyleSheet) {
    mainWindow.window.setSkin("QPushButton { color: red; }");
    EXPECT_EQ(view->styleSheet(), QString("QPushButton { color: red; }"));
}

TEST_F(MainWindowView, ListShowsTheColumnsAtTheirWidths) {
    auto *list = widget<QTreeView>("ListView1");
    ASSERT_EQ(list->model()->columnCount(), 9);
    EXPECT_EQ(list->model()->headerData(7, Qt::Horizontal).toString(), QString("Subject"));
    EXPECT_EQ(list->columnWidth(0), 2000 / 15);
    EXPECT_EQ(list->columnWidth(8), 0);               // the one-twip identifier column
    EXPECT_EQ(list->columnWidth(7), (7000 + 7) / 15); // rounded to the nearest pixel
    // The last column that shows, "Subject", takes the room a wider window gives the list.
    view->resize(view->size() + QSize(1000, 0));
    EXPECT_GT(list->columnWidth(7), 7000 / 15);
    EXPECT_EQ(list->columnWidth(3), 1500 / 15);
}

TEST(ExpressWindowViewList, TheLastColumnFillsTheList) {
    test::EnsureQtApplication();
    test::TestPlatform standIns;
    Settings settings{standIns.settings, standIns.platform.messages};
    ExpressWindow form2{standIns.platform, settings};
    form2.load();
    WindowView view(form2.window);
    view.show();
    auto *messages = qobject_cast<QTreeView *>(view.widgetOf(form2.ListView2));
    const int columns = messages->columnWidth(0) + messages->columnWidth(1) +
                        messages->columnWidth(2) + messages->columnWidth(3);
    EXPECT_EQ(messages->columnWidth(2), 2000 / 15);
    EXPECT_GT(messages->columnWidth(3), 1500 / 15);
    EXPECT_EQ(columns, messages->viewport()->width());
}

TEST(WindowViewLifetime, ClosingRunsQueryUnloadThenUnload) {
    test::EnsureQtApplication();
    WindowModel window("Form9", 3000, 2000);
    std::vector<std::string> calls;
    window.onQueryUnload = [&] { calls.push_back("query"); };
    window.onUnload = [&] { calls.push_back("unload"); };
    WindowView view(window);
    bool closedSignal = false;
    QObject::connect(&view, &WindowView::closed, [&] { closedSignal = true; });
    view.show();
    view.close();
    EXPECT_EQ(calls, (std::vector<std::string>{"query", "unload"}));
    EXPECT_TRUE(closedSignal);
    EXPECT_FALSE(view.isVisible());
}

TEST(WindowViewLifetime, ClosingKeepsThePlacementThatTheNextViewRestores) {
    test::EnsureQtApplication();
    WindowModel window("Form9", 3000, 2000);
    std::string kept;
    std::vector<std::string> calls;
    window.readPlacement = [&] { return kept; };
    window.writePlacement = [&](const std::string &placement) {
        kept = placement;
        calls.push_back("placement");
    };
    window.onQueryUnload = [&] { calls.push_back("query"); };
    QSize closedAt;
    {
        WindowView first(window);
        first.show();
        first.resize(first.size() + QSize(40, 60));
        closedAt = first.size();
        first.close();
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"placement", "query"}));
    WindowView second(window);
    second.show();
    EXPECT_EQ(second.size(), closedAt);
    EXPECT_EQ(second.designedArea().size(), QSize(200 + 40, 133 + 60));
}

TEST(WindowViewLifetime, ControlsForgetTheViewWhenItGoes) {
    test::EnsureQtApplication();
    WindowModel window("Form9", 3000, 2000);
    TextBox text("Text1", {100, 100, 1500, 345});
    ListView list("ListView1", {100, 600, 2500, 1000});
    window.addControls({&text, &list});
    { WindowView view(window); }
    EXPECT_FALSE(window.viewChanged);
    EXPECT_FALSE(text.viewChanged);
    text.setText("still fine");
    list.addColumn("Name", 1000);
    list.addRow({"row"});
    EXPECT_EQ(list.rowCount(), 1);
}

} // namespace
} // namespace qb
