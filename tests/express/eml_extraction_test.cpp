#include "express/eml_extraction.h"
#include "platform/command_line.h"
#include "support/dbx_writer.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <utility>

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

/// A message of a test mailbox, with an encoded subject.
std::string MailboxMessage(const std::string &mailbox, int number) {
    return "From: =?utf-8?Q?Jos=C3=A9?= <jose@example.com>\r\nTo: " + mailbox +
           "\r\nSubject: =?utf-8?B?w4k=?= " + std::to_string(number) +
           "\r\nDate: Mon, 4 Mar 2024 10:00:00 +0000\r\n\r\nbody\r\n";
}

class Extraction : public ::testing::Test {
  protected:
    /// Lists a mailbox of the given number of messages, written by the DBX writer.
    void addDbxRow(const std::string &name, int messages, bool checked) {
        test::DbxWriter mailbox(t.folder / name);
        for (int number = 1; number <= messages; ++number)
            mailbox.add(MailboxMessage(name, number));
        mailbox.finish();
        ListView1.addRow({t.folder / name});
        ListView1.setChecked(ListView1.rowCount(), checked);
    }
    /// The converter the build made, beside the program as the window finds it.
    void installConverter() {
        std::filesystem::create_symlink(QB_SPLINTERBOX, t.folder / "Splinterbox");
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

TEST_F(Extraction, EveryMessageOfTheCheckedMailboxesIsListedOnceInMailboxOrder) {
    installConverter();
    std::filesystem::create_directory(t.platform.workFolder);
    t.folder.write("work/left over.eml", "Date: yesterday\r\n\r\n");
    ListView2.addRow({"old row"});
    addDbxRow("Inbox.dbx", 12, true);
    addDbxRow("Drafts.dbx", 2, false);
    addDbxRow("Sent Items.dbx", 3, true);
    click();

    std::vector<std::vector<std::string>> expectedRows;
    std::vector<std::string> expectedNames;
    for (const auto &[mailbox, count] : {std::pair{"Inbox", 12}, std::pair{"Sent Items", 3}})
        for (int number = 1; number <= count; ++number) {
            char name[64];
            std::snprintf(name, sizeof name, "%s-%05d.eml", mailbox, number);
            expectedNames.push_back(name);
            expectedRows.push_back({"José <jose@example.com>", std::string(mailbox) + ".dbx",
                                    "É " + std::to_string(number),
                                    "Mon, 4 Mar 2024 10:00:00 +0000"});
        }
    std::vector<std::vector<std::string>> rows;
    for (int row = 1; row <= ListView2.rowCount(); ++row)
        rows.push_back({std::string(ListView2.text(row)), std::string(ListView2.subItem(row, 1)),
                        std::string(ListView2.subItem(row, 2)),
                        std::string(ListView2.subItem(row, 3))});
    EXPECT_EQ(rows, expectedRows);
    EXPECT_EQ(EmlFileNames, expectedNames);
    EXPECT_FALSE(std::filesystem::exists(t.folder / "work/left over.eml"));
    EXPECT_TRUE(t.reports().empty());
    ASSERT_EQ(t.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(t.messageBoxes.shown[0].text, "Done.");
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(Extraction, WithoutTheConverterNothingIsListedAndTheRunStillEnds) {
    addDbxRow("Inbox.dbx", 1, true);
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
    addDbxRow("Inbox.dbx", 1, true);
    click();
    EXPECT_EQ(ListView2.rowCount(), 0);
    ASSERT_FALSE(t.reports().empty());
    EXPECT_NE(t.reports()[0].find("at line 104"), std::string::npos) << t.reports()[0];
    EXPECT_EQ(t.folder.read("work"), "a file where the work folder should be");
    EXPECT_EQ(t.messageBoxes.shown.back().text, "Done.");
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(Extraction, TheStatusLineNamesEachMailboxAndStopEndsTheRunAfterOne) {
    installConverter();
    addDbxRow("Inbox.dbx", 4, true);
    addDbxRow("Drafts.dbx", 2, false);
    addDbxRow("Sent Items.dbx", 3, true);
    for (const bool stop : {false, true}) {
        SCOPED_TRACE(stop ? "stopped" : "whole");
        std::vector<std::string> seen;
        t.events.onEvents = [&] {
            if (!window.runningAction())
                return;
            seen.push_back(window.statusLine().text());
            if (stop && window.statusLine().text().starts_with("Converting Inbox.dbx"))
                window.statusLine().pressStop();
        };
        t.messageBoxes.shown.clear();
        click();
        EXPECT_NE(std::find(seen.begin(), seen.end(), "Converting Inbox.dbx (1 of 2)"), seen.end());
        EXPECT_EQ(std::find(seen.begin(), seen.end(), "Converting Sent Items.dbx (2 of 2)") !=
                      seen.end(),
                  !stop);
        // The mailbox being converted when Stop came is listed whole.
        EXPECT_EQ(ListView2.rowCount(), stop ? 4 : 7);
        EXPECT_EQ(window.statusLine().text(),
                  stop ? "Stopped after 1 of 2 mailbox files, 4 messages listed"
                       : "Listed 7 messages from 2 mailbox files");
        EXPECT_FALSE(window.statusLine().stopEnabled());
        ASSERT_EQ(t.messageBoxes.shown.size(), 1u);
        EXPECT_EQ(t.messageBoxes.shown[0].text, "Done.");
    }
}

} // namespace
} // namespace qb::express
