#include "platform/qt/list_view_model.h"
#include "platform/qt/list_view_widget.h"
#include "qt_application.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace qb {
namespace {

class ListViewModelTest : public ::testing::Test {
  protected:
    ListViewModelTest() {
        test::EnsureQtApplication();
        list.addColumn("Root", 2000);
        list.addColumn("Subject", 3000);
        list.addColumn("ID", 1);
    }

    void addRows(int count) {
        for (int i = 1; i <= count; ++i)
            list.addRow({"Inbox " + std::to_string(i), "Subject " + std::to_string(i), "00AB"});
    }

    ListView list{"ListView1", {120, 3030, 7800, 1725}};
};

TEST_F(ListViewModelTest, PassesTheItemModelTesterThroughAppendsChangesAndClears) {
    ListViewModel model(list);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    addRows(20);
    list.refresh();
    list.setCell(3, 2, "Changed");
    list.setChecked(4, true);
    model.setData(model.index(5, 0), Qt::Checked, Qt::CheckStateRole);
    list.addColumn("Extra", 1000);
    list.clear();
    addRows(2);
    QTest::qWait(ListViewModel::appendDelayMilliseconds * 2);
    EXPECT_EQ(model.rowCount(), 2);
}

TEST_F(ListViewModelTest, ShowsCellsHeadersAndCheckBoxes) {
    addRows(2);
    list.setChecked(2, true);
    ListViewModel model(list);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QString("Subject 2"));
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QString("ID"));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    // Only the first column carries the check box.
    EXPECT_FALSE(model.data(model.index(1, 1), Qt::CheckStateRole).isValid());
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);
}

TEST_F(ListViewModelTest, MissingCellsAndUnicodeTextShow) {
    list.addRow({"Posteingang"});
    list.addRow({"Caixa de entrada", "Reunião às 9h"});
    ListViewModel model(list);
    EXPECT_EQ(model.data(model.index(0, 2)).toString(), QString());
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QString::fromUtf8("Reunião às 9h"));
}

TEST_F(ListViewModelTest, UserToggleChecksTheRowAndLogicChecksShow) {
    addRows(3);
    ListViewModel model(list);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(list.checked(1));
    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(list.checked(1));

    list.setChecked(3, true);
    ASSERT_EQ(changed.size(), 3);
    EXPECT_EQ(changed.last().at(0).value<QModelIndex>().row(), 2);
    EXPECT_EQ(model.data(model.index(2, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
}

TEST_F(ListViewModelTest, ClickingTheCheckBoxInTheViewChecksTheRow) {
    addRows(3);
    ListViewWidget view(list);
    view.resize(400, 200);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QRect cell = view.visualRect(view.model()->index(1, 0));
    // The check box sits at the left end of the first cell.
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(cell.left() + 10, cell.center().y()));
    EXPECT_TRUE(list.checked(2));
    EXPECT_FALSE(list.checked(1));
}

TEST_F(ListViewModelTest, AppendsAreAnnouncedInBatches) {
    ListViewModel model(list);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    addRows(1000);
    EXPECT_EQ(model.rowCount(), 0);
    QTest::qWait(ListViewModel::appendDelayMilliseconds * 3);
    EXPECT_EQ(model.rowCount(), 1000);
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted.front().at(1).toInt(), 0);
    EXPECT_EQ(inserted.front().at(2).toInt(), 999);
}

TEST_F(ListViewModelTest, RepaintAnnouncesPendingRowsAtOnce) {
    ListViewModel model(list);
    addRows(5);
    list.refresh();
    EXPECT_EQ(model.rowCount(), 5);
}

TEST_F(ListViewModelTest, ChangesOfRowsNotYetShownAreLeftForTheirAnnouncement) {
    ListViewModel model(list);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    addRows(2);
    list.setSubItem(2, 1, "Renamed");
    EXPECT_TRUE(changed.isEmpty());
    list.refresh();
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), QString("Renamed"));
}

TEST_F(ListViewModelTest, ClearingResetsTheModel) {
    addRows(4);
    ListViewModel model(list);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    addRows(3); // still pending when the list is cleared
    list.clear();
    EXPECT_EQ(reset.size(), 1);
    EXPECT_EQ(model.rowCount(), 0);
    QTest::qWait(ListViewModel::appendDelayMilliseconds * 2);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(ListViewModelTest, ViewFollowsColumnWidthsInTwips) {
    ListViewWidget view(list);
    EXPECT_EQ(view.columnWidth(0), 2000 / 15);
    EXPECT_EQ(view.columnWidth(2), 0);
    list.setColumnWidth(3, 1500); // columns count from 1 in the control
    EXPECT_EQ(view.columnWidth(2), 100);
    list.clearColumns();
    list.addColumn("DBX File(s)", ListView::defaultColumnWidth);
    list.setColumnWidth(1, 6000);
    EXPECT_EQ(view.model()->columnCount(), 1);
    EXPECT_EQ(view.columnWidth(0), 400);
}

TEST_F(ListViewModelTest, ACellCutShortShowsItsWholeTextAsAToolTip) {
    const QString path = "C:\\users\\ann\\Local Settings\\Application Data\\Identities\\"
                         "{1A2B3C4D-0000-4000-8000-123456789ABC}\\Microsoft\\Outlook Express\\"
                         "Sent Items.dbx";
    list.addRow({"Inbox", "A subject far too long for the narrow column it has", "1"});
    list.addRow({"Inbox", path.toStdString(), "2"});
    ListViewWidget view(list);
    // Narrow enough that the last column, which takes the room left, is as narrow as set.
    view.resize(200, 200);
    view.show();
    const auto toolTipAt = [&](int row, int column) {
        QToolTip::hideText(); // it fades out first
        EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
        const QRect cell = view.visualRect(view.model()->index(row, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(),
                        view.viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    list.setColumnWidth(2, 1500);
    EXPECT_EQ(toolTipAt(0, 1), QString("A subject far too long for the narrow column it has"));
    EXPECT_EQ(toolTipAt(1, 1), path);
    list.setColumnWidth(2, 80000);
    EXPECT_EQ(toolTipAt(0, 1), QString());
    EXPECT_EQ(toolTipAt(1, 1), QString());
}

TEST(ElidedPath, KeepsTheFileNameOfAPathCutShort) {
    test::EnsureQtApplication();
    const QFontMetrics metrics(QApplication::font());
    const QString folder = "C:\\users\\ann\\Local Settings\\Application Data\\Identities\\"
                           "{1A2B3C4D-0000-4000-8000-123456789ABC}\\Outlook Express";
    const auto width = [&](const QString &text) { return metrics.horizontalAdvance(text); };
    const QString ellipsis(QChar(0x2026));
    const struct {
        const char *what;
        QString path;
        int width;
        QString start; // what the shown text begins with
        QString end;   // and ends with; it is cut in between unless it is the whole path
    } cases[] = {
        {"a path that fits", folder, width(folder), folder, folder},
        {"a Windows path", folder + "\\Inbox.dbx", width("C:\\users\\ann\\\\Inbox.dbx"),
         "C:", "\\Inbox.dbx"},
        {"another file of the folder", folder + "\\Sent Items.dbx",
         width("C:\\users\\ann\\\\Sent Items.dbx"), "C:", "\\Sent Items.dbx"},
        {"a host path", "/home/ann/mail/archive/2003/old/Deleted Items.dbx",
         width("/home/ann/\u2026/Deleted Items.dbx"), "/home", "/Deleted Items.dbx"},
        {"a name wider than the column", "/m/" + QString(40, 'n') + ".dbx", width(QString(20, 'n')),
         "/m/", ".dbx"},
    };
    for (const auto &c : cases) {
        const QString shown = ElidedPath(c.path, metrics, c.width);
        EXPECT_LE(width(shown), c.width) << c.what;
        EXPECT_TRUE(shown.startsWith(c.start)) << c.what << ": " << shown.toStdString();
        EXPECT_TRUE(shown.endsWith(c.end)) << c.what << ": " << shown.toStdString();
        EXPECT_EQ(shown.contains(ellipsis), shown != c.path) << c.what;
        EXPECT_EQ(shown == c.path, c.start == c.path) << c.what;
    }
    EXPECT_TRUE(IsFullPath("C:\\x") && IsFullPath("/x") && IsFullPath("\\\\server\\x"));
    EXPECT_FALSE(IsFullPath("Re: Q1/Q2 plan") || IsFullPath("C:x") || IsFullPath(""));
}

TEST_F(ListViewModelTest, ListForgetsTheModelWhenItGoes) {
    { ListViewModel model(list); }
    addRows(2); // would reach a dead listener otherwise
    EXPECT_EQ(list.rowCount(), 2);
}

} // namespace
} // namespace qb
