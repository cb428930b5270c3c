#include "failure/failure.h"
#include "platform/controls/combo_box.h"
#include "platform/controls/list_view.h"
#include "platform/controls/option_button.h"
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

} // namespace
} // namespace qb
