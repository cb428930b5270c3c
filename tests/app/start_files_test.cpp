#include "app/express_window.h"
#include "app/main_window.h"
#include "app/start_files.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qb {
namespace {

using Strings = std::vector<std::string>;

TEST(StartAction, HelpAndVersionAreAnsweredBeforeAnyWindow) {
    struct Case {
        Strings arguments;
        StartAction action;
    };
    const Case cases[] = {
        {{}, StartAction::OpenWindows},
        {{"a.pst"}, StartAction::OpenWindows},
        {{"--help"}, StartAction::PrintHelp},
        {{"a.pst", "-h"}, StartAction::PrintHelp},
        {{"--version"}, StartAction::PrintVersion},
        {{"-V", "--help"}, StartAction::PrintHelp},
        {{"--", "--help"}, StartAction::OpenWindows}, // a file of that name
    };
    for (const Case &run : cases)
        EXPECT_EQ(StartActionOf(run.arguments), run.action)
            << ::testing::PrintToString(run.arguments);
    const std::string usage = StartUsage();
    EXPECT_TRUE(usage.starts_with("Usage: quillbarrow [FILE...]\n"));
    for (const char *argument : {"FILE.pst", "FILE.dbx", "--help", "--version"})
        EXPECT_NE(usage.find(argument), std::string::npos) << argument;
    std::size_t lineStart = 0;
    for (std::size_t end; (end = usage.find('\n', lineStart)) != std::string::npos;
         lineStart = end + 1)
        EXPECT_LE(end - lineStart, 80u) << usage.substr(lineStart, end - lineStart);
}

class StartFilesTest : public ::testing::Test {
  protected:
    StartFilesTest() {
        for (const char *name : {"Outlook.pst", "Second.PST", "Offline.ost", "Inbox.dbx",
                                 "Sent Items.DBX", "notes.txt"})
            fixture.folder.write(name, "x");
        std::filesystem::create_directory(fixture.folder / "folder.pst");
    }
    std::string path(const std::string &name) const { return fixture.folder / name; }

    test::TestPlatform fixture;
};

TEST_F(StartFilesTest, FilesAreSortedByWindowAndTheRestExplained) {
    struct Case {
        Strings names;
        std::string pstFile;
        Strings mailboxes;
        Strings problems;
    };
    const Case cases[] = {
        {{"Outlook.pst"}, "Outlook.pst", {}, {}},
        {{"Offline.ost", "Inbox.dbx", "Sent Items.DBX"},
         "Offline.ost",
         {"Inbox.dbx", "Sent Items.DBX"},
         {}},
        {{"Outlook.pst", "Second.PST"},
         "Outlook.pst",
         {},
         {"The main window lists one PST file at a time: @Second.PST is not opened."}},
        {{"missing.pst", "notes.txt", "folder.pst", "--frobnicate"},
         "",
         {},
         {"The file @missing.pst was not found.",
          "@notes.txt is neither an Outlook data file (.pst, .ost) nor an Outlook Express "
          "mailbox (.dbx).",
          "@folder.pst is a folder, not a file.",
          "--frobnicate is not an argument of Quillbarrow (see quillbarrow --help)."}},
    };
    const auto placed = [&](std::string text) {
        if (const auto at = text.find('@'); at != std::string::npos)
            text.replace(at, 1, fixture.folder.path() + "/");
        return text;
    };
    for (const Case &run : cases) {
        SCOPED_TRACE(::testing::PrintToString(run.names));
        Strings arguments;
        for (const std::string &name : run.names)
            arguments.push_back(name.starts_with("--") ? name : path(name));
        const StartFiles start = SortStartFiles(fixture.files, arguments);
        EXPECT_EQ(start.pstFile.value_or(""), run.pstFile.empty() ? "" : path(run.pstFile));
        Strings mailboxes;
        for (const std::string &name : run.mailboxes)
            mailboxes.push_back(path(name));
        EXPECT_EQ(start.mailboxes, mailboxes);
        Strings problems;
        for (const std::string &problem : run.problems)
            problems.push_back(placed(problem));
        EXPECT_EQ(start.problems, problems);
    }
}

TEST_F(StartFilesTest, TheWindowsOpenWhatTheCommandLineNames) {
    Settings settings{fixture.settings, fixture.platform.messages};
    ExpressWindow form2{fixture.platform, settings};
    MainWindow form1{fixture.platform, settings, form2};
    form1.load();
    const StartFiles start =
        SortStartFiles(fixture.files, {path("Outlook.pst"), path("Inbox.dbx"), path("notes.txt")});
    form2.addMailboxesOnShow(start.mailboxes);
    form1.openStartFiles(start);

    EXPECT_TRUE(form1.Option4.value());
    EXPECT_FALSE(form1.Option3.value());
    EXPECT_EQ(form1.Text2.text(), path("Outlook.pst"));
    EXPECT_EQ(form1.ListView1.rowCount(), 0) << "the listing waits for the user's click";
    ASSERT_EQ(fixture.messageTexts().size(), 1u);
    EXPECT_NE(fixture.messageTexts()[0].find("notes.txt"), std::string::npos);
    ASSERT_EQ(fixture.windows.shownModal.size(), 1u) << "the Outlook Express window opened";
    ASSERT_EQ(form2.ListView1.rowCount(), 1);
    EXPECT_EQ(form2.ListView1.text(1), path("Inbox.dbx"));
    EXPECT_TRUE(form2.ListView1.checked(1));
}

} // namespace
} // namespace qb
