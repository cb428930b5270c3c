#include "export/folder_browser.h"

#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb::exporting {
namespace {

class FolderBrowser : public ::testing::Test {
  protected:
    void click() { chooseOutputFolder(facilities, window, Text3, "Form1", "PushButton9_Click"); }

    test::TestPlatform t;
    FolderChoiceFacilities facilities{t.folderPicker, t.settings, t.reporter};
    WindowModel window{"Form1", 100, 100};
    TextBox Text3{"Text3", {}};
};

TEST_F(FolderBrowser, ChosenFolderGetsAFinalSeparatorAndIsRemembered) {
    t.settings.values["LastFolderDot"] = "/home/user/old";
    t.folderPicker.answers = {"/home/user/mail"};
    click();
    ASSERT_EQ(t.folderPicker.calls.size(), 1u);
    EXPECT_EQ(t.folderPicker.calls[0].window, "Form1");
    EXPECT_EQ(t.folderPicker.calls[0].prompt, "Please select folder:");
    EXPECT_EQ(t.folderPicker.calls[0].startFolder, "/home/user/old");
    EXPECT_EQ(Text3.text(), "/home/user/mail/");
    EXPECT_EQ(t.settings.values["LastFolderDot"], "/home/user/mail");
}

TEST_F(FolderBrowser, RootAndFoldersEndingInASeparatorStayAsChosen) {
    t.folderPicker.answers = {"/", "/srv/out/"};
    click();
    EXPECT_EQ(Text3.text(), "/");
    EXPECT_EQ(t.settings.values["LastFolderDot"], "/");
    click();
    EXPECT_EQ(Text3.text(), "/srv/out/");
}

TEST_F(FolderBrowser, CancelChangesNothing) {
    Text3.setText("/typed/by hand");
    t.settings.values["LastFolderDot"] = "/home/user/old";
    click();
    EXPECT_EQ(Text3.text(), "/typed/by hand");
    EXPECT_EQ(t.settings.values["LastFolderDot"], "/home/user/old");
    EXPECT_TRUE(t.settings.writes.empty());
    EXPECT_TRUE(t.messageBoxes.shown.empty());
}

TEST_F(FolderBrowser, WithoutALastFolderThePickerStartsWithNone) {
    click();
    ASSERT_EQ(t.folderPicker.calls.size(), 1u);
    EXPECT_EQ(t.folderPicker.calls[0].startFolder, "");
}

TEST_F(FolderBrowser, BothWindowsShareTheLastFolder) {
    WindowModel express{"Form2", 100, 100};
    TextBox expressText3{"Text3", {}};
    t.folderPicker.answers = {"/data/one"};
    click();
    chooseOutputFolder(facilities, express, expressText3, "Form2", "PushButton8_Click");
    ASSERT_EQ(t.folderPicker.calls.size(), 2u);
    EXPECT_EQ(t.folderPicker.calls[1].window, "Form2");
    EXPECT_EQ(t.folderPicker.calls[1].startFolder, "/data/one");
}

TEST_F(FolderBrowser, SettingThatCannotBeWrittenIsReportedAndTheBoxStillFilled) {
    t.settings.failWrites = true;
    t.folderPicker.answers = {"/data/two"};
    chooseOutputFolder(facilities, window, Text3, "Form2", "PushButton8_Click");
    EXPECT_EQ(Text3.text(), "/data/two/");
    const auto reports = t.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("in Ferndock2021/08/31.Form2.PushButton8_Click at line 104"),
              std::string::npos)
        << reports[0];
}

} // namespace
} // namespace qb::exporting
