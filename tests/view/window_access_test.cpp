#include "app/express_window.h"
#include "app/main_window.h"
#include "platform/qt/status_line_widget.h"
#include "platform/qt/window_view.h"
#include "qt_application.h"
#include "support/test_platform.h"

#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

namespace qb {
namespace {

/// Both windows over the scripted platform, each shown in a view, for what the keyboard and a
/// screen reader meet.
class WindowAccess : public ::testing::Test {
  protected:
    WindowAccess() {
        test::EnsureQtApplication();
        form1.load();
        form2.load();
        mainView = std::make_unique<WindowView>(form1.window);
        expressView = std::make_unique<WindowView>(form2.window);
        mainView->show();
    }

    template <typename Widget> Widget *in(WindowView &view, const Control &control) {
        return qobject_cast<Widget *>(view.widgetOf(control));
    }

    /// What a screen reader hears as the widget's name.
    static QString spokenName(QObject *widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }

    test::TestPlatform standIns;
    Settings settings{standIns.settings, standIns.platform.messages};
    ExpressWindow form2{standIns.platform, settings};
    MainWindow form1{standIns.platform, settings, form2};
    std::unique_ptr<WindowView> mainView;
    std::unique_ptr<WindowView> expressView;
};

TEST_F(WindowAccess, TextBoxesAndListsAreNamedByTheirCaptions) {
    const struct {
        WindowView *view;
        const Control *control;
        const char *name;
    } cases[] = {
        {mainView.get(), &form1.Text1, "Search For"},
        {mainView.get(), &form1.Text2, "PST File"},
        {mainView.get(), &form1.Text3, "Save Text Files To This Folder"},
        {mainView.get(), &form1.ListView1, "Outlook messages"},
        {mainView.get(), &form1.PushButton1, "Get Emails From Outlook"},
        {expressView.get(), &form2.ListView1, "Outlook Express files"},
        {expressView.get(), &form2.ListView2, "Outlook Express messages"},
        {expressView.get(), &form2.Text3, "Save Text Files To This Folder"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(spokenName(c.view->widgetOf(*c.control)), QString(c.name)) << c.name;
    // A drop-down list is named by its choice here; its frame is the label it is heard with.
    const auto labels = QAccessible::queryAccessibleInterface(mainView->widgetOf(form1.Combo1))
                            ->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0].first->text(QAccessible::Name), QString("Folder"));
}

TEST_F(WindowAccess, OptionButtonsAreAnnouncedAsOptionButtons) {
    for (const OptionButton *option :
         {&form1.Option1, &form1.Option2, &form1.Option3, &form1.Option4}) {
        QAccessibleInterface *spoken =
            QAccessible::queryAccessibleInterface(mainView->widgetOf(*option));
        EXPECT_EQ(spoken->role(), QAccessible::RadioButton) << option->name();
        EXPECT_EQ(spoken->state().checked, option->value()) << option->name();
    }
    // The model may leave both buttons of a pair cleared; the view follows it.
    form1.Option1.setValue(false);
    EXPECT_FALSE(in<QRadioButton>(*mainView, form1.Option1)->isChecked());
    EXPECT_FALSE(in<QRadioButton>(*mainView, form1.Option2)->isChecked());
}

TEST_F(WindowAccess, ARowsCheckBoxIsAnnouncedWithItsSubject) {
    form1.ListView1.addRow(
        {"Outlook", "Inbox", "", "6/21/2011", "Saqib", "", "No", "Lunch on Friday", "ID-1"});
    form1.ListView1.setChecked(1, true);
    form1.ListView1.refresh();
    QApplication::processEvents(); // the list lays out its new rows
    auto *list = in<QTreeView>(*mainView, form1.ListView1);
    QAccessibleTableInterface *table =
        QAccessible::queryAccessibleInterface(list)->tableInterface();
    ASSERT_NE(table, nullptr);
    QAccessibleInterface *checkCell = table->cellAt(0, 0);
    ASSERT_NE(checkCell, nullptr);
    EXPECT_EQ(checkCell->text(QAccessible::Name), QString("Lunch on Friday"));
    EXPECT_TRUE(checkCell->state().checkable);
    EXPECT_TRUE(checkCell->state().checked);
}

TEST_F(WindowAccess, EnterPressesTheFocusedButtonAndRunsFindFromSearchFor) {
    int selects = 0;
    int finds = 0;
    form1.PushButton5.onClick = [&] { ++selects; };
    form1.PushButton2.onClick = [&] { ++finds; };
    QTest::keyClick(in<QPushButton>(*mainView, form1.PushButton5), Qt::Key_Return);
    QTest::keyClick(in<QPushButton>(*mainView, form1.PushButton5), Qt::Key_Enter,
                    Qt::KeypadModifier);
    EXPECT_EQ(selects, 2);
    QTest::keyClick(in<QLineEdit>(*mainView, form1.Text1), Qt::Key_Return);
    EXPECT_EQ(finds, 1);
    // A button the model disables cannot be pressed, by mouse or key.
    form1.PushButton2.setEnabled(false);
    QTest::keyClick(in<QLineEdit>(*mainView, form1.Text1), Qt::Key_Return);
    EXPECT_EQ(finds, 1);
}

TEST_F(WindowAccess, AccessKeysUnderlineALetterOfTheUnchangedCaption) {
    EXPECT_EQ(in<QPushButton>(*mainView, form1.PushButton2)->text(), QString("&Find"));
    EXPECT_EQ(in<QPushButton>(*mainView, form1.PushButton8)->text(), QString("..."));
    int finds = 0;
    form1.PushButton2.onClick = [&] { ++finds; };
    mainView->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainView.get()));
    QTest::keyClick(mainView.get(), Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finds == 1; })); // the button shows its press first
    // The access key of a frame takes the focus to the text box it labels.
    QTest::keyClick(mainView.get(), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(QApplication::focusWidget(), mainView->widgetOf(form1.Text1));
}

TEST_F(WindowAccess, StatusLineShowsTheTextAndStopOrEscapePressesStop) {
    StatusLineWidget &status = mainView->statusLine();
    EXPECT_FALSE(status.stopButton().isEnabled());
    int stops = 0;
    form1.window.statusLine().setText("Listing Outlook.pst (store 3 of 12), 1,204 messages");
    form1.window.statusLine().offerStop([&] { ++stops; });
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return status.shownText() == "Listing Outlook.pst (store 3 of 12), 1,204 messages";
    }));
    EXPECT_TRUE(status.stopButton().isEnabled());
    QTest::mouseClick(&status.stopButton(), Qt::LeftButton);
    mainView->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(mainView.get()));
    QTest::keyClick(mainView->widgetOf(form1.Text1), Qt::Key_Escape);
    EXPECT_EQ(stops, 2);
    form1.window.statusLine().offerStop(nullptr);
    QTest::keyClick(mainView->widgetOf(form1.Text1), Qt::Key_Escape);
    EXPECT_EQ(stops, 2);
    EXPECT_FALSE(status.stopButton().isEnabled());
}

TEST_F(WindowAccess, QuickChangesOfTheStatusShowTheLastOneSoon) {
    StatusLine &line = form1.window.statusLine();
    for (int count = 1; count <= 500; ++count)
        line.setText("Listing Outlook.pst, " + std::to_string(count) + " messages");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return mainView->statusLine().shownText() == "Listing Outlook.pst, 500 messages"; },
        StatusLineWidget::refreshMilliseconds * 5));
}

TEST_F(WindowAccess, DoubleClickOrEnterOnARowOpensIt) {
    std::vector<int> opened;
    form1.ListView1.onOpen = [&](int row) { opened.push_back(row); };
    for (int row = 1; row <= 2; ++row)
        form1.ListView1.addRow(
            {"Outlook", "Inbox", "", "", "", "", "No", "Subject " + std::to_string(row), "ID"});
    form1.ListView1.refresh();
    QApplication::processEvents(); // the list lays out its new rows
    auto *list = in<QTreeView>(*mainView, form1.ListView1);
    const QRect second = list->visualRect(list->model()->index(1, 3));
    // A double-click is a click and then the second press the system reports as a double-click.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
    list->setCurrentIndex(list->model()->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(opened, (std::vector<int>{2, 1}));
}

} // namespace
} // namespace qb
