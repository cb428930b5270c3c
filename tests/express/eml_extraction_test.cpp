#include "express/eml_extraction.h"
#include "platform/command_line.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qb::express {
namespace {

TEST(ConverterCommandLine, EveryArgumentReadsBackUnchanged) {
    for (const std::string path : {"/plain/path.dbx", "/with blanks/In box.dbx",
                                   R"(/odd "quoted" name.dbx)", R"(/ends in\)", R"(/a\\"b)", ""}) {
        const std::vector<std::string> arguments =
            SplitCommandLine(QuotedArgument(path) + " " + QuotedArgument("/work folder"));
        ASSERT_EQ(arguments.size(), 2u) << path;
        EXPECT_EQ(arguments[0], path);
        EXPECT_EQ(arguments[1], "/work folder");
    }
    EXPECT_EQ(QuotedArgument("/plain/path.dbx"), "\"/plain/path.dbx\"");
}

TEST(ConverterCommandLine, MissingFilesGiveEmptyShortNames) {
    test::TempFolder folder;
    folder.write("In box.dbx", "x");
    PosixFileSystem files;
    EXPECT_EQ(ConverterCommandLine(files, folder / "Splinterbox", folder / "In box.dbx", "/w"),
              "\"\" \"" + folder / "In box.dbx" + "\" \"/w\"");
}

/// A stand-in converter: writes one dated message named after the DBX file into the folder.
constexpr const char *fakeConverter = "#!/bin/sh\n"
                                      "name=$(basename \"$1\" .dbx)\n"
                                      "printf 'From: %s\\r\\nDate: today\\r\\n\\r\\nbody' "
                                      "\"$name\" > \"$2/$name.eml\"\n";

class Extraction : public ::testing::Test {
  protected:
    void addDbxRow(const std::string &name, bool checked) {
        t.folder.write(name, "not read by the stand-in");
        ListView1.addRow({t.folder / name});
        ListView1.setChecked(ListView1.rowCount(), checked);
    }
    void installConverter() {
        t.folder.write("Splinterbox", fakeConverter);
        std::filesystem::permissions(t.folder / "Splinterbox", std::filesystem::perms::owner_exec,
                                     std::filesystem::perm_options::add);
    }
    void click() {
        extractMessages({t.files, t.programs, t.events, t.clock, t.platform.messages, t.reporter,
                         t.platform.programFolder, t.platform.workFolder},
                        {window, ListView1, ListView2}, EmlFileNames);
    }

    test::TestPlatform t;
    WindowModel window{"Form2", 8040, 10245};
    ListView ListView1{"ListView1", {0, 0, 100, 100}};
    ListView ListView2{"ListView2", {0, 0, 100, 100}};
    std::vector<std::string> EmlFileNames{"old.eml"};
};

TEST_F(Extraction, EachConversionReadsTheWholeWorkFolderAgain) {
    installConverter();
    std::filesystem::create_directory(t.platform.workFolder);
    t.folder.write("work/left over.eml", "Date: yesterday\r\n\r\n");
    ListView2.addRow({"old row"});
    addDbxRow("Inbox.dbx", true);
    addDbxRow("Drafts.dbx", false);
    addDbxRow("Sent Items.dbx", true);
    click();
    // The second reading lists the first file's message again, as the window always has.
    std::vector<std::string> froms;
    for (int row = 1; row <= ListView2.rowCount(); ++row)
        froms.emplace_back(ListView2.text(row));
    std::vector<std::string> sortedSecondReading(froms.begin() + 1, froms.end());
    std::sort(sortedSecondReading.begin(), sortedSecondReading.end());
    EXPECT_EQ(froms.front(), "Inbox");
    EXPECT_EQ(sortedSecondReading, (std::vector<std::string>{"Inbox", "Sent Items"}));
    ASSERT_EQ(EmlFileNames.size(), 3u);
    for (std::size_t row = 0; row < EmlFileNames.size(); ++row)
        EXPECT_EQ(EmlFileNames[row], froms[row] + ".eml");
    EXPECT_FALSE(std::filesystem::exists(t.folder / "work/left over.eml"));
    EXPECT_TRUE(t.reports().empty());
    ASSERT_EQ(t.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(t.messageBoxes.shown[0].text, "Done.");
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(Extraction, WithoutTheConverterNothingIsListedAndTheRunStillEnds) {
    addDbxRow("Inbox.dbx", true);
    click();
    EXPECT_EQ(ListView2.rowCount(), 0);
    EXPECT_TRUE(EmlFileNames.empty());
    EXPECT_TRUE(t.reports().empty());
    ASSERT_EQ(t.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(t.messageBoxes.shown[0].text, "Done.");
}

TEST_F(Extraction, AWorkFolderThatCannotBeMadeIsReportedAndTheRunStillEnds) {
    installConverter();
    t.folder.write("work", "a file where the work folder should be");
    addDbxRow("Inbox.dbx", true);
    click();
    EXPECT_EQ(ListView2.rowCount(), 0);
    ASSERT_FALSE(t.reports().empty());
    EXPECT_NE(t.reports()[0].find("at line 104"), std::string::npos) << t.reports()[0];
    EXPECT_EQ(t.folder.read("work"), "a file where the work folder should be");
    EXPECT_EQ(t.messageBoxes.shown.back().text, "Done.");
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

} // namespace
} // namespace qb::express
