#include "app/express_window.h"
#include "app/main_module.h"
#include "app/main_window.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qb {
namespace {

/// The two windows over the scripted platform, as the program builds them.
struct Windows {
    explicit Windows(test::TestPlatform &fixture)
        : settings(fixture.settings, fixture.platform.messages),
          express(fixture.platform, settings), main(fixture.platform, settings, express) {}
    Settings settings;
    ExpressWindow express;
    MainWindow main;
};

class MainWindowStartUp : public ::testing::Test {
  protected:
    test::TestPlatform fixture;
    Windows windows{fixture};
    MainWindow &form1 = windows.main;

    std::string setting(const std::string &key) { return fixture.settings.values[key]; }
};

TEST_F(MainWindowStartUp, FirstRunShowsTheDefaults) {
    form1.load();
    EXPECT_TRUE(form1.Option1.value());
    EXPECT_FALSE(form1.Option2.value());
    EXPECT_TRUE(form1.Option3.value());
    EXPECT_FALSE(form1.Option4.value());
    EXPECT_EQ(form1.Combo1.text(), "Checked Items");
    EXPECT_EQ(form1.Text1.text(), "");
    EXPECT_EQ(form1.Text2.text(), "");
    EXPECT_EQ(form1.Text3.text(), "/home/user/Desktop/");
    EXPECT_EQ(form1.window.caption(), "Quillbarrow");
    EXPECT_TRUE(fixture.reports().empty());
    EXPECT_TRUE(fixture.windows.shownModal.empty()) << "with a mail store only Form1 shows";
}

TEST_F(MainWindowStartUp, RestoredValuesAreWrittenBackAsTheyWereRead) {
    form1.load();
    EXPECT_EQ(setting("Option1"), "True");
    EXPECT_EQ(setting("Option2"), "False");
    EXPECT_EQ(setting("Option3"), "True");
    EXPECT_EQ(setting("Option4"), "False");
    EXPECT_EQ(setting("Combo1"), "0");
    EXPECT_EQ(setting("Location1"), "/home/user/Desktop/");
    EXPECT_EQ(fixture.settings.values.count("Text1"), 0u) << "an unchanged empty box fires nothing";
}

TEST_F(MainWindowStartUp, BuildsTheNineColumnsAndTheEightScopes) {
    form1.load();
    const auto &columns = form1.ListView1.columns();
    ASSERT_EQ(columns.size(), 9u);
    EXPECT_EQ(columns[0].header, "Root");
    EXPECT_EQ(columns[7].header, "Subject");
    EXPECT_EQ(columns[7].width, 7000);
    EXPECT_EQ(columns[8].header, "ID");
    EXPECT_EQ(columns[8].width, 1);
    EXPECT_EQ(form1.Combo1.items(),
              (std::vector<std::string>{"Checked Items", "All", "Inbox", "Outbox", "Drafts",
                                        "Sent Items", "Deleted Items", "User-specified Folder"}));
}

TEST_F(MainWindowStartUp, StoredChoicesComeBack) {
    fixture.settings.values = {{"PST File", "/mail/a.pst"}, {"Option1", "False"},
                               {"Option2", "True"},         {"Option3", "0"},
                               {"Option4", "-1"},           {"Combo1", "5"},
                               {"Text1", "smith"},          {"Location1", "/out/"}};
    form1.load();
    EXPECT_EQ(form1.Text2.text(), "/mail/a.pst");
    EXPECT_TRUE(form1.Option2.value());
    EXPECT_FALSE(form1.Option1.value());
    EXPECT_TRUE(form1.Option4.value());
    EXPECT_EQ(form1.Combo1.text(), "Sent Items");
    EXPECT_EQ(form1.Text1.text(), "smith");
    EXPECT_EQ(form1.Text3.text(), "/out/");
    EXPECT_EQ(setting("Option4"), "True") << "numeric text is written back as a word";
}

TEST_F(MainWindowStartUp, BothOutputOptionsFalseLeavesNeitherSelected) {
    fixture.settings.values = {{"Option1", "False"}, {"Option2", "False"}};
    form1.load();
    EXPECT_FALSE(form1.Option1.value());
    EXPECT_FALSE(form1.Option2.value());
}

TEST_F(MainWindowStartUp, OddValuesFailTheirOwnStepOnly) {
    fixture.settings.values = {{"Option1", "maybe"}, {"Combo1", "8"}, {"Text1", "kept"}};
    form1.load();
    const auto reports = fixture.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_NE(reports[0].find("Type mismatch\r\nin Ferndock2021/08/31.Form1.Form_Load at line 130"),
              std::string::npos);
    EXPECT_NE(reports[1].find("at line 178"), std::string::npos);
    EXPECT_EQ(form1.Combo1.listIndex(), -1) << "no item is selected";
    EXPECT_EQ(form1.Text1.text(), "kept") << "loading goes on after a failure";
    EXPECT_FALSE(form1.Option1.value());
}

TEST_F(MainWindowStartUp, ComboMinusOneSelectsNothingWithoutAFailure) {
    fixture.settings.values = {{"Combo1", "-1"}};
    form1.load();
    EXPECT_EQ(form1.Combo1.listIndex(), -1);
    EXPECT_TRUE(fixture.reports().empty());
}

TEST_F(MainWindowStartUp, UnresolvableDesktopFailsTheOutputFolderStep) {
    fixture.specialFolders.desktop.clear();
    form1.load();
    const auto reports = fixture.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("at line 182"), std::string::npos);
    EXPECT_EQ(form1.Text3.text(), "");
}

TEST_F(MainWindowStartUp, MissingCursorFileLeavesTheArrowSilently) {
    form1.load();
    EXPECT_TRUE(fixture.windows.loadedPointers.empty());
    EXPECT_EQ(form1.window.customPointer(), nullptr);
    form1.PushButton1.mouseMove();
    EXPECT_EQ(form1.window.pointer(), MousePointer::Custom);
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST_F(MainWindowStartUp, CursorFileBecomesTheHandAndADamagedOneIsReported) {
    fixture.folder.write("HAND-M.CUR", "cursor");
    form1.load();
    EXPECT_NE(form1.window.customPointer(), nullptr);

    test::TestPlatform damaged;
    damaged.folder.write("HAND-M.CUR", "garbage");
    damaged.windows.damagedPointers.push_back(damaged.folder / "HAND-M.CUR");
    Windows other(damaged);
    other.main.load();
    ASSERT_EQ(damaged.reports().size(), 1u);
    EXPECT_NE(damaged.reports()[0].find("at line 108"), std::string::npos);
    EXPECT_EQ(other.main.Combo1.text(), "Checked Items") << "loading went on";
}

TEST_F(MainWindowStartUp, WithoutSkinTheWindowStaysWhite) {
    form1.load();
    EXPECT_EQ(form1.window.backColour(), BackColour::White);
    EXPECT_EQ(form1.Frame1.backColour(), BackColour::White);
    EXPECT_EQ(form1.window.skin(), "");
}

TEST_F(MainWindowStartUp, SkinFileDressesTheWindowInButtonFace) {
    std::filesystem::create_directory(fixture.folder / "x");
    fixture.folder.write("x/o.cjs", "QPushButton { color: navy; }");
    form1.load();
    EXPECT_EQ(form1.window.backColour(), BackColour::ButtonFace);
    EXPECT_EQ(form1.Frame2.backColour(), BackColour::ButtonFace);
    EXPECT_EQ(form1.Option3.backColour(), BackColour::ButtonFace);
    EXPECT_EQ(form1.Text1.backColour(), BackColour::White) << "text boxes keep their colour";
    EXPECT_EQ(form1.window.skin(), "QPushButton { color: navy; }");
}

TEST_F(MainWindowStartUp, DamagedSkinIsReportedAndTheWindowGoesOn) {
    std::filesystem::create_directory(fixture.folder / "x");
    fixture.folder.write("x/o.cjs", std::string("\xff\xfe\0\0binary", 10));
    form1.load();
    ASSERT_EQ(fixture.reports().size(), 1u);
    EXPECT_NE(fixture.reports()[0].find("at line 100"), std::string::npos);
    EXPECT_EQ(form1.window.skin(), "");
    EXPECT_EQ(form1.window.caption(), "Quillbarrow");
}

TEST(MainWindowWithoutOutlook, OpensTheExpressWindowAloneAndEndsWithIt) {
    test::TestPlatform fixture;
    fixture.outlook.unavailable = true;
    Windows windows(fixture);
    EXPECT_THROW(windows.main.load(), test::ProgramEnded);
    EXPECT_EQ(fixture.windows.shownModal, (std::vector<std::string>{"Form2"}));
    EXPECT_EQ(fixture.settings.values["Option3"], "False");
    EXPECT_EQ(fixture.settings.values["Option4"], "True");
    EXPECT_EQ(windows.express.window.caption(), "Quillbarrow");
}

TEST(MainWindowWithOutlook, ExpressWindowReturnsToTheMainWindow) {
    test::TestPlatform fixture;
    Windows windows(fixture);
    windows.main.load();
    windows.main.PushButton4.click();
    EXPECT_EQ(fixture.windows.shownModal, (std::vector<std::string>{"Form2"}));
    EXPECT_EQ(windows.express.window.clientWidth(), 8040);
    EXPECT_EQ(windows.express.window.clientHeight(), 10245);
    EXPECT_TRUE(windows.express.Option1.value());
}

TEST(MainWindowWithBrokenSettings, BothWindowsOpenWithTheDefaultsAndEachProblemIsToldOnce) {
    test::TestPlatform fixture;
    fixture.settings.failReads = true;
    fixture.settings.failWrites = true;
    Windows windows(fixture);
    windows.main.load();
    windows.main.PushButton4.click();
    EXPECT_TRUE(windows.main.Option1.value());
    EXPECT_EQ(windows.main.Text3.text(), "/home/user/Desktop/");
    EXPECT_EQ(fixture.windows.shownModal, (std::vector<std::string>{"Form2"}));
    EXPECT_TRUE(windows.express.Option1.value());
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 2u);
    EXPECT_NE(fixture.messageBoxes.shown[0].text.find("cannot be read"), std::string::npos);
    EXPECT_NE(fixture.messageBoxes.shown[1].text.find("cannot be saved"), std::string::npos);
    EXPECT_TRUE(fixture.reports().empty()) << "the fallbacks fail no step";
}

TEST(MainWindowClosing, EndsOutlookProcessesThenTheProgram) {
    test::TestPlatform fixture;
    fixture.processes.running = {{10, "OUTLOOK.EXE", "", fixture.processes.ownProcessId},
                                 {11, "bash", "/bin/bash", fixture.processes.ownProcessId}};
    Windows windows(fixture);
    EXPECT_THROW(windows.main.window.onUnload(), test::ProgramEnded);
    EXPECT_EQ(fixture.processes.terminated, std::vector<int>{10});
}

TEST(WindowPlacement, EachWindowKeepsItsOwnBetweenRuns) {
    test::TestPlatform fixture;
    Windows windows(fixture);
    fixture.settings.values["Form1 Geometry"] = "main";
    EXPECT_EQ(windows.main.window.readPlacement(), "main");
    EXPECT_EQ(windows.express.window.readPlacement(), "");
    windows.express.window.writePlacement("express");
    EXPECT_EQ(fixture.settings.values["Form2 Geometry"], "express");
    EXPECT_EQ(fixture.settings.values["Form1 Geometry"], "main");
}

class MainWindowMirrors : public MainWindowStartUp {
  protected:
    void SetUp() override {
        form1.load();
        fixture.settings.writes.clear();
    }
};

TEST_F(MainWindowMirrors, TypingWritesTheWholeTextOnce) {
    form1.Text1.setText("s");
    form1.Text2.setText("/a.pst");
    form1.Text3.setText("/out");
    EXPECT_EQ(fixture.settings.writes,
              (std::vector<std::pair<std::string, std::string>>{
                  {"Text1", "s"}, {"PST File", "/a.pst"}, {"Location1", "/out"}}));
}

TEST_F(MainWindowMirrors, OptionClicksWriteBothKeysOfThePair) {
    form1.Option2.setValue(true);
    form1.Option4.setValue(true);
    EXPECT_EQ(
        fixture.settings.writes,
        (std::vector<std::pair<std::string, std::string>>{
            {"Option1", "False"}, {"Option2", "True"}, {"Option3", "False"}, {"Option4", "True"}}));
}

TEST_F(MainWindowMirrors, ComboClickWritesTheIndex) {
    form1.Combo1.setListIndex(7);
    EXPECT_EQ(fixture.settings.values["Combo1"], "7");
}

TEST_F(MainWindowMirrors, PointerFollowsTheMouseUnlessBusy) {
    form1.PushButton3.mouseMove();
    EXPECT_EQ(form1.window.pointer(), MousePointer::Custom);
    form1.ListView1.mouseMove();
    EXPECT_EQ(form1.window.pointer(), MousePointer::Default);
    form1.window.setPointer(MousePointer::Busy);
    form1.PushButton3.mouseMove();
    form1.Frame1.mouseMove();
    EXPECT_EQ(form1.window.pointer(), MousePointer::Busy);
}

TEST_F(MainWindowMirrors, HelpShowsFiveParagraphsUnderTheApplicationTitle) {
    form1.PushButton7.click();
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    const auto &help = fixture.messageBoxes.shown[0];
    EXPECT_EQ(help.title, "Quillbarrow");
    EXPECT_EQ(help.buttons, MessageButtons::Ok);
    // No Windows prompt is left in it, and it names the folder the stores are looked for in.
    EXPECT_EQ(help.text.find("Trust Center"), std::string::npos);
    EXPECT_EQ(help.text, MailSourceHelp("/home/user/Documents/Outlook Files"));
    EXPECT_NE(help.text.find("\r\n\r\n/home/user/Documents/Outlook Files\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(help.text.find("no Outlook is needed"), std::string::npos);
}

TEST(ApplicationTitle, DropsTheLastWordAtLeastOnce) {
    EXPECT_EQ(ApplicationTitleOf("Quillbarrow"), "Quillbarrow");
    EXPECT_EQ(ApplicationTitleOf("Quill Barrow"), "Quill");
    // Six words make exactly 40 characters; the last two of eight are dropped.
    EXPECT_EQ(ApplicationTitleOf("Aaaaa Bbbbbb Cccccc Dddddd Eeeeee Ffffff Gg Hh"),
              "Aaaaa Bbbbbb Cccccc Dddddd Eeeeee Ffffff");
}

TEST(DesktopFolderPath, ComesFromThePaddedShellBuffer) {
    test::FakeSpecialFolders folders;
    const std::string buffer = SpecialFolderPath(folders, 0);
    EXPECT_EQ(buffer.size(), 512u);
    EXPECT_EQ(buffer.substr(0, 19), std::string("/home/user/Desktop\0", 19));
    EXPECT_EQ(DesktopFolder(folders), "/home/user/Desktop/");
    EXPECT_EQ(SpecialFolderPath(folders, 5), "");
    folders.desktop.clear();
    EXPECT_THROW(DesktopFolder(folders), Failure);
}

} // namespace
} // namespace qb
