#include "app/express_window.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qb {
namespace {

class ExpressWindowTest : public ::testing::Test {
  protected:
    test::TestPlatform fixture;
    Settings settings{fixture.settings, fixture.platform.messages};
    ExpressWindow form2{fixture.platform, settings};
};

TEST_F(ExpressWindowTest, FirstOpeningSelectsOneFilePerMessageAndTheDesktop) {
    form2.load();
    EXPECT_TRUE(form2.Option1.value());
    EXPECT_FALSE(form2.Option2.value());
    EXPECT_EQ(form2.Text3.text(), "/home/user/Desktop/");
    EXPECT_EQ(fixture.settings.values["TextFileOption"], "1");
    EXPECT_EQ(form2.window.backColour(), BackColour::ButtonFace);
    EXPECT_EQ(form2.Frame2.backColour(), BackColour::ButtonFace);
}

TEST_F(ExpressWindowTest, AnyValueButOneSelectsTheCombinedFile) {
    for (const std::string value : {"2", " 1", "one", ""}) {
        fixture.settings.values["TextFileOption"] = value;
        form2.load();
        EXPECT_TRUE(form2.Option2.value()) << "TextFileOption=\"" << value << "\"";
        EXPECT_EQ(fixture.settings.values["TextFileOption"], "2");
    }
}

TEST_F(ExpressWindowTest, ColumnsAreBuiltAnewWithEveryLoad) {
    form2.load();
    form2.ListView1.addRow({"/mail/Inbox.dbx"});
    form2.load();
    ASSERT_EQ(form2.ListView1.columns().size(), 1u);
    EXPECT_EQ(form2.ListView1.columns()[0].header, "DBX File(s)");
    EXPECT_EQ(form2.ListView1.columns()[0].width, 6000);
    EXPECT_EQ(form2.ListView1.rowCount(), 0);
    const auto &columns = form2.ListView2.columns();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[3].header, "Date Received");
    EXPECT_EQ(columns[2].width, 2000);
}

TEST_F(ExpressWindowTest, ClosingRemovesTheWorkFilesOnly) {
    std::filesystem::create_directory(fixture.platform.workFolder);
    fixture.folder.write("work/1.eml", "a");
    fixture.folder.write("work/2.EML.txt", "b");
    fixture.folder.write("work/3.eml", "c");
    // The user's own .eml files beside the program are not work files.
    fixture.folder.write("mine.eml", "d");
    form2.removeWorkFiles();
    EXPECT_FALSE(std::filesystem::exists(fixture.folder / "work/1.eml"));
    EXPECT_FALSE(std::filesystem::exists(fixture.folder / "work/3.eml"));
    EXPECT_TRUE(std::filesystem::exists(fixture.folder / "work/2.EML.txt"));
    EXPECT_TRUE(std::filesystem::exists(fixture.folder / "mine.eml"));
    EXPECT_GE(fixture.events.processed, 4);
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST_F(ExpressWindowTest, ClosingWithoutWorkFilesIsSilent) {
    form2.removeWorkFiles();
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST_F(ExpressWindowTest, HelpSendsPstFilesToTheMainWindowWithoutOutlook) {
    form2.PushButton23.click();
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(fixture.messageBoxes.shown[0].text,
              "Quillbarrow reads PST files itself, with no Outlook: choose them in the main "
              "window \r\nbecause Outlook Express cannot handle PST files.");
}

TEST_F(ExpressWindowTest, ListsShowTheHandAndFramesTheArrow) {
    form2.ListView2.mouseMove();
    EXPECT_EQ(form2.window.pointer(), MousePointer::Custom);
    form2.Frame1.mouseMove();
    EXPECT_EQ(form2.window.pointer(), MousePointer::Default);
}

} // namespace
} // namespace qb
