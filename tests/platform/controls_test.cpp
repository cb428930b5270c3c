#include "failure/failure.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/long_action.h"
#include "platform/controls/option_button.h"
#include "platform/controls/status_text.h"
#include "platform/controls/text_box.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(TextBoxModel, FiresChangeOnlyWhenTheTextChanges) {
    TextBox box("Text1", {});
    int changes = 0;
    box.onChange = [&] { ++changes; };
    box.setText("a");
    box.setText("a");
    box.setText("ab");
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(box.text(), "ab");
}

TEST(OptionButtonModel, SelectingClearsThePartnerAndFiresClickEvenWhenSelected) {
    OptionButton first("Option1", "", {}), second("Option2", "", {});
    OptionButton::group({&first, &second});
    int firstClicks = 0, secondClicks = 0;
    first.onClick = [&] { ++firstClicks; };
    second.onClick = [&] { ++secondClicks; };
    first.setValue(true);
    first.setValue(true);
    second.setValue(true);
    EXPECT_FALSE(first.value());
    EXPECT_TRUE(second.value());
    EXPECT_EQ(firstClicks, 2);
    EXPECT_EQ(secondClicks, 1);
    second.setValue(false);
    EXPECT_EQ(secondClicks, 1) << "setting false fires nothing";
    EXPECT_FALSE(second.value());
}

TEST(ComboBoxModel, RejectsIndexesOutsideTheListButAcceptsMinusOne) {
    ComboBox combo("Combo1", {});
    combo.addItem("Checked Items");
    combo.addItem("All");
    int clicks = 0;
    combo.onClick = [&] { ++clicks; };
    combo.setListIndex(1);
    EXPECT_EQ(combo.text(), "All");
    EXPECT_THROW(combo.setListIndex(2), Failure);
    EXPECT_THROW(combo.setListIndex(-2), Failure);
    EXPECT_EQ(combo.listIndex(), 1);
    combo.setListIndex(-1);
    EXPECT_EQ(combo.text(), "");
    EXPECT_EQ(clicks, 2);
}

TEST(ListViewModel, KeepsCellsCountedFromOne) {
    ListView list("ListView1", {});
    const int row = list.addRow({"Root", "Inbox", "", "3/3/2024"});
    EXPECT_EQ(row, 1);
    EXPECT_EQ(list.text(1), "Root");
    EXPECT_EQ(list.subItem(1, 1), "Inbox");
    EXPECT_EQ(list.subItem(1, 2), "");
    EXPECT_EQ(list.subItem(1, 3), "3/3/2024");
    EXPECT_EQ(list.subItem(1, 8), "") << "absent cells read empty";
    list.setSubItem(1, 8, "ID-1");
    list.setSubItem(1, 1, "Sent Items");
    EXPECT_EQ(list.subItem(1, 8), "ID-1");
    EXPECT_EQ(list.subItem(1, 1), "Sent Items");
    EXPECT_EQ(list.subItem(1, 3), "3/3/2024");
    EXPECT_THROW(list.text(2), Failure);
    EXPECT_THROW(list.text(0), Failure);
}

TEST(ListViewModel, ANulInsideATextDoesNotShiftTheCells) {
    ListView list("ListView1", {});
    list.addRow({std::string("a\0b", 3), "second"});
    EXPECT_EQ(list.text(1), "ab");
    EXPECT_EQ(list.subItem(1, 1), "second");
}

TEST(ListViewModel, ChecksAndClears) {
    ListView list("ListView1", {});
    list.addRow({"a"});
    list.addRow({"b"});
    list.setChecked(2, true);
    EXPECT_FALSE(list.checked(1));
    EXPECT_TRUE(list.checked(2));
    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
}

TEST(PushButtonModel, ADisabledButtonCannotBeClicked) {
    PushButton button("PushButton1", "Get Emails From Outlook", {});
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.click();
    button.setEnabled(false);
    button.click();
    EXPECT_EQ(clicks, 1);
}

TEST(ControlModel, AControlWithoutCaptionIsNamedByItsFrame) {
    Frame frame("Frame3", "Search For", {});
    TextBox text("Text1", {}, &frame);
    PushButton find("PushButton2", "Find", {}, &frame);
    TextBox loose("Text9", {});
    EXPECT_EQ(text.accessibleName(), "Search For");
    EXPECT_EQ(find.accessibleName(), "Find");
    EXPECT_EQ(loose.accessibleName(), "");
    text.setAccessibleName("Search text");
    EXPECT_EQ(text.accessibleName(), "Search text");
}

/// A window with three action starters, one of them disabled already, and a button that
/// starts nothing.
class LongActionTest : public ::testing::Test {
  protected:
    LongActionTest() {
        window.addControls({&list, &find, &save, &help});
        window.setActionStarters({&list, &find, &save});
        save.setEnabled(false);
    }
    WindowModel window{"Form1", 8040, 9705};
    PushButton list{"PushButton1", "Get Emails From Outlook", {}};
    PushButton find{"PushButton2", "Find", {}};
    PushButton save{"PushButton3", "Start Downloading", {}};
    PushButton help{"PushButton7", "Help", {}};
};

TEST_F(LongActionTest, StartersAreDisabledAndStopIsOfferedWhileItRuns) {
    StatusLine &status = window.statusLine();
    EXPECT_FALSE(status.stopEnabled());
    status.pressStop(); // nothing runs: nothing to stop
    {
        LongAction action(window);
        EXPECT_EQ(window.runningAction(), &action);
        EXPECT_FALSE(list.enabled());
        EXPECT_FALSE(find.enabled());
        EXPECT_TRUE(help.enabled());
        EXPECT_TRUE(status.stopEnabled());
        action.showStatus("Listing Outlook.pst, 12 messages");
        EXPECT_FALSE(action.stopRequested());
        {
            // An action inside the running one changes nothing and hears its Stop.
            LongAction inner(window);
            status.pressStop();
            EXPECT_TRUE(inner.stopRequested());
        }
        EXPECT_TRUE(status.stopEnabled());
        EXPECT_FALSE(list.enabled());
        EXPECT_TRUE(action.stopRequested());
    }
    EXPECT_EQ(window.runningAction(), nullptr);
    EXPECT_TRUE(list.enabled());
    EXPECT_TRUE(find.enabled());
    EXPECT_FALSE(save.enabled()) << "what was disabled before stays so";
    EXPECT_FALSE(status.stopEnabled());
    EXPECT_EQ(status.text(), "Listing Outlook.pst, 12 messages") << "the count stays";
}

TEST_F(LongActionTest, ANewActionStartsWithoutTheLastOnesStop) {
    {
        LongAction first(window);
        window.statusLine().pressStop();
    }
    LongAction second(window);
    EXPECT_FALSE(second.stopRequested());
}

TEST(StatusTexts, NumbersDurationsAndFolders) {
    const struct {
        std::string shown;
        std::string expected;
    } cases[] = {
        {GroupedNumber(0), "0"},
        {GroupedNumber(999), "999"},
        {GroupedNumber(1204), "1,204"},
        {GroupedNumber(1234567), "1,234,567"},
        {GroupedNumber(-1234), "-1,234"},
        {CountOf(1, "message"), "1 message"},
        {CountOf(0, "message"), "0 messages"},
        {CountOf(3038, "message"), "3,038 messages"},
        {DurationText(0.4), "0 s"},
        {DurationText(45), "45 s"},
        {DurationText(70.5), "1 min 10 s"},
        {DurationText(3600), "1 h 0 min"},
        {DurationText(4687), "1 h 18 min"},
        {DurationText(-3), "0 s"},
        {ShortenedPath("/home/user/Desktop/"), "\u2026/Desktop"},
        {ShortenedPath("/home/user/Desktop"), "\u2026/Desktop"},
        {ShortenedPath("/home/user/Desktop/AllEmails.txt"), "\u2026/AllEmails.txt"},
        {ShortenedPath("/mail/"), "/mail"},
        {ShortenedPath("/"), "/"},
        {ShortenedPath("out"), "out"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.shown, c.expected);
}

} // namespace
} // namespace qb
