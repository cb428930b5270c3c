#include "download_fixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace qb::exporting {
namespace {

using Strings = std::vector<std::string>;
using Lines = std::vector<int>;

class OutlookDownloadRun : public ::testing::Test, protected test_support::DownloadFixture {};

TEST_F(OutlookDownloadRun, CheckedItemsAreSavedUnderStampAndSubject) {
    addMessage("Inbox", "", "Re: Q1/Q2 plan?", true);
    addMessage("Inbox", "", "Not checked");
    addMessage("Sent Items", "", "Lunch", true);
    MousePointer duringRun = MousePointer::Default;
    t.events.onEvents = [&] { duringRun = window.pointer(); };

    click();

    EXPECT_EQ(outputFiles(), (Strings{"03-03-2024 02 05 11 PM Re  Q1-Q2 plan.txt",
                                      "03-03-2024 02 05 13 PM Lunch.txt"}));
    EXPECT_EQ(t.folder.read("out/03-03-2024 02 05 13 PM Lunch.txt"),
              "From:\tSender of Lunch\r\nSubject:\tLunch\r\n\r\nBody of Lunch\r\n");
    EXPECT_EQ(messages(), Strings{"Done."});
    EXPECT_EQ(t.messageBoxes.shown.back().title, "Quillbarrow");
    EXPECT_EQ(duringRun, MousePointer::Busy);
    EXPECT_EQ(window.pointer(), MousePointer::Default);
    EXPECT_EQ(t.clock.sleeps, (std::vector<int>{1000, 1000, 1000}));
    EXPECT_EQ(t.outlook.applicationsCreated, 1);
    EXPECT_EQ(t.outlook.applicationsAlive, 0);
    EXPECT_EQ(t.outlook.calls, (Strings{"GetItemFromID ID-1", "GetItemFromID ID-3"}));
}

TEST_F(OutlookDownloadRun, AllTakesUncheckedRowsToo) {
    choose("All");
    addMessage("Inbox", "", "one");
    addMessage("Drafts", "", "two", true);
    click();
    EXPECT_EQ(outputFiles(),
              (Strings{"03-03-2024 02 05 11 PM one.txt", "03-03-2024 02 05 13 PM two.txt"}));
    EXPECT_EQ(messages(), Strings{"Done."});
}

TEST_F(OutlookDownloadRun, EachStandardFolderMatchesFolderOrSubfolderExactly) {
    for (const std::string folder : {"Inbox", "Outbox", "Drafts", "Sent Items", "Deleted Items"}) {
        addMessage(folder, "", "top " + folder);
        addMessage("Archive", folder, "nested " + folder);
        addMessage(folder, "Projects", "deep " + folder);
    }
    addMessage("inbox", "", "lower case");
    addMessage("Archive", "Inbox ", "trailing blank");

    for (const std::string folder : {"Inbox", "Outbox", "Drafts", "Sent Items", "Deleted Items"}) {
        SCOPED_TRACE(folder);
        t.outlook.calls.clear();
        choose(folder);
        click();
        EXPECT_EQ(t.outlook.calls.size(), 3u);
        for (const std::string &call : t.outlook.calls)
            EXPECT_NE(call, "GetItemFromID ID-16");
    }
    EXPECT_EQ(outputFiles().size(), 15u);
    EXPECT_TRUE(t.inputBoxes.asked.empty());
}

TEST_F(OutlookDownloadRun, UserSpecifiedFolderIsAskedForAndComparedExactly) {
    choose("User-specified Folder");
    addMessage("Inbox", "", "in inbox");
    addMessage("Sent Items", "", "sent");
    addMessage("Archive", "2023", "archived");

    t.inputBoxes.answers = {"2023"};
    click();
    ASSERT_EQ(t.inputBoxes.asked.size(), 1u);
    EXPECT_EQ(t.inputBoxes.asked[0].prompt, "Enter folder name: ");
    EXPECT_EQ(t.inputBoxes.asked[0].title, "Input Folder Name");
    EXPECT_EQ(t.inputBoxes.asked[0].preset, "Inbox");
    EXPECT_EQ(outputFiles(), Strings{"03-03-2024 02 05 11 PM archived.txt"});

    for (const std::string answer : {"inbox", " Sent Items", "Sent Items "}) {
        SCOPED_TRACE(answer);
        t.messageBoxes.shown.clear();
        t.inputBoxes.answers = {answer};
        click();
        EXPECT_EQ(messages(), Strings{"No records selected"});
    }
    EXPECT_EQ(outputFiles().size(), 1u);
}

TEST_F(OutlookDownloadRun, EmptyFolderAnswerStopsBeforeTheStoreIsTouched) {
    choose("User-specified Folder");
    addMessage("Inbox", "", "in inbox", true);
    for (const std::string answer : {"", "   "}) {
        t.inputBoxes.answers = {answer};
        click();
    }
    EXPECT_EQ(t.outlook.applicationsCreated, 0);
    EXPECT_TRUE(t.messageBoxes.shown.empty());
    EXPECT_TRUE(t.clock.sleeps.empty());
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(OutlookDownloadRun, MissingOutputFolderStopsWithAMessage) {
    addMessage("Inbox", "", "in inbox", true);
    for (const std::string &folder : {std::string(), t.folder / "missing/", t.folder / "out/x"}) {
        Text3.setText(folder);
        click();
    }
    EXPECT_EQ(messages(), Strings(3, "Folder does not exist. Please select another folder."));
    EXPECT_EQ(t.outlook.applicationsCreated, 0);
    EXPECT_TRUE(t.reports().empty());
}

TEST_F(OutlookDownloadRun, NothingToTakeOpensOutlookAndSaysSo) {
    click(); // empty list
    addMessage("Inbox", "", "unchecked");
    click(); // nothing checked
    choose("Outbox");
    click(); // no row in that folder
    Combo1.setListIndex(-1);
    click(); // no choice at all
    EXPECT_EQ(messages(), Strings(4, "No records selected"));
    EXPECT_EQ(t.outlook.applicationsCreated, 4);
    EXPECT_EQ(t.outlook.applicationsAlive, 0);
    EXPECT_TRUE(outputFiles().empty());
}

TEST_F(OutlookDownloadRun, FolderTypedWithoutFinalSeparatorStillReceivesTheFiles) {
    Text3.setText(t.folder / "out");
    addMessage("Inbox", "", "typed", true);
    click();
    EXPECT_EQ(outputFiles(), Strings{"03-03-2024 02 05 11 PM typed.txt"});
    EXPECT_FALSE(std::filesystem::exists(t.folder / "out03-03-2024 02 05 11 PM typed.txt"));
}

TEST_F(OutlookDownloadRun, OneFileModeReplacesOnTheFirstWriteOfEachRun) {
    Option2.setValue(true);
    t.folder.write("out/AllEmails.txt", "left by an earlier run");
    addMessage("Inbox", "", "first");
    addMessage("Inbox", "", "second", true);
    addMessage("Inbox", "", "third", true);

    click();
    const std::string both = "From:\tSender of second\r\nSubject:\tsecond\r\n\r\nBody of second\r\n"
                             "From:\tSender of third\r\nSubject:\tthird\r\n\r\nBody of third\r\n";
    EXPECT_EQ(outputFiles(), Strings{"AllEmails.txt"});
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"), both);

    click();
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"), both) << "a second run must not append";
    EXPECT_EQ(messages(), Strings(2, "Done."));
}

TEST_F(OutlookDownloadRun, OneFileModeGathersEmptyFilesAndPassesOverFailedSaves) {
    Option2.setValue(true);
    t.folder.write("out/AllEmails.txt", "left by an earlier run");
    addMessage("Inbox", "", "refused", true);
    t.outlook.find("ID-1")->failing = {"SaveAs"};
    addMessage("Inbox", "", "empty", true);
    t.outlook.find("ID-2")->render = [](const auto &) { return ""; };
    click();
    EXPECT_EQ(outputFiles(), Strings{"AllEmails.txt"});
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"), "empty file");
    EXPECT_EQ(reportedLines(), Lines{218});
    EXPECT_EQ(messages(), Strings{"Done."}) << "a save that failed has nothing to read back";
}

TEST_F(OutlookDownloadRun, CombinedFileThatCannotBeWrittenKeepsItsTextAndTheSingleFiles) {
    const struct {
        const char *trace;
        bool diskFull;
        std::optional<std::uint64_t> failAfterBytes;
        const char *systemText;
    } faults[] = {{"full disk", true, std::nullopt, "No space left on device"},
                  {"disk that fills during the write", false, 10, "File too large"}};
    for (const auto &fault : faults) {
        SCOPED_TRACE(fault.trace);
        test_support::DownloadFixture run;
        run.Option2.setValue(true);
        run.t.folder.write("out/AllEmails.txt", "left by an earlier run");
        run.addMessage("Inbox", "", "one", true);
        run.addMessage("Inbox", "", "two", true);
        run.t.files.diskFull = fault.diskFull;
        run.t.files.failAfterBytes = fault.failAfterBytes;
        run.click();
        EXPECT_EQ(run.t.folder.read("out/AllEmails.txt"), "left by an earlier run");
        EXPECT_EQ(run.outputFiles(), (Strings{"03-03-2024 02 05 11 PM one.txt",
                                              "03-03-2024 02 05 13 PM two.txt", "AllEmails.txt"}))
            << "every message keeps its single file, and no partial file remains";
        EXPECT_EQ(run.reportedLines(), (Lines{224, 224}));
        const std::string report = run.t.reports().at(0);
        EXPECT_NE(
            report.find(fault.systemText + std::string(": ") + run.outputFolder + "AllEmails.txt"),
            std::string::npos)
            << report;
    }
}

TEST_F(OutlookDownloadRun, OneFileModeSwitchedOnDuringARunGathersFromThatMessageOn) {
    t.folder.write("out/AllEmails.txt", "left by an earlier run");
    addMessage("Inbox", "", "first", true);
    addMessage("Inbox", "", "second", true);
    addMessage("Inbox", "", "third", true);
    t.events.onEvents = [&] {
        if (t.outlook.calls.size() == 2)
            Option2.setValue(true);
    };
    click();
    EXPECT_EQ(outputFiles(), (Strings{"03-03-2024 02 05 11 PM first.txt", "AllEmails.txt"}));
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"),
              "From:\tSender of second\r\nSubject:\tsecond\r\n\r\nBody of second\r\n"
              "From:\tSender of third\r\nSubject:\tthird\r\n\r\nBody of third\r\n");
    EXPECT_TRUE(t.reports().empty());
}

TEST_F(OutlookDownloadRun, LinkNamedAllEmailsIsReplacedNotFollowed) {
    Option2.setValue(true);
    t.folder.write("outside.txt", "not the program's");
    std::filesystem::create_symlink(t.folder / "outside.txt", outputFolder + "AllEmails.txt");
    addMessage("Inbox", "", "one", true);
    addMessage("Inbox", "", "two", true);
    click();
    EXPECT_EQ(t.folder.read("outside.txt"), "not the program's");
    EXPECT_FALSE(std::filesystem::is_symlink(outputFolder + "AllEmails.txt"));
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"),
              "From:\tSender of one\r\nSubject:\tone\r\n\r\nBody of one\r\n"
              "From:\tSender of two\r\nSubject:\ttwo\r\n\r\nBody of two\r\n");
    EXPECT_TRUE(t.reports().empty());
}

TEST_F(OutlookDownloadRun, VanishedMessageIsReportedAndSkipped) {
    addMessage("Inbox", "", "before", true);
    addVanishedRow("Inbox", "gone", true);
    addMessage("Inbox", "", "after", true);
    click();
    EXPECT_EQ(reportedLines(), Lines{192});
    EXPECT_NE(t.reports()[0].find("An object could not be found."), std::string::npos);
    EXPECT_EQ(outputFiles(),
              (Strings{"03-03-2024 02 05 11 PM before.txt", "03-03-2024 02 05 14 PM after.txt"}));
    EXPECT_EQ(messages(), Strings{"Done."});
}

TEST_F(OutlookDownloadRun, VanishedFirstMessageStartsTheCombinedFileWithTheNextOne) {
    Option2.setValue(true);
    t.folder.write("out/AllEmails.txt", "left by an earlier run");
    addVanishedRow("Inbox", "gone", true);
    addMessage("Inbox", "", "kept", true);
    click();
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"),
              "From:\tSender of kept\r\nSubject:\tkept\r\n\r\nBody of kept\r\n");
}

TEST_F(OutlookDownloadRun, UnreadableSubjectNeverReplacesThePreviousMessagesFile) {
    addMessage("Inbox", "", "first", true);
    addMessage("Inbox", "", "second", true);
    t.outlook.find("ID-2")->failing.insert("Subject");
    click();
    EXPECT_EQ(reportedLines(), Lines{196});
    EXPECT_EQ(outputFiles(),
              (Strings{"03-03-2024 02 05 11 PM first.txt", "03-03-2024 02 05 13 PM .txt"}));
    EXPECT_EQ(t.folder.read("out/03-03-2024 02 05 11 PM first.txt"),
              "From:\tSender of first\r\nSubject:\tfirst\r\n\r\nBody of first\r\n");
}

struct FailureLines {
    const char *choice;
    int fetch;
    int name;
    int save;
    int write;
};

TEST_F(OutlookDownloadRun, FailuresAreReportedWithTheLinesOfTheSelection) {
    addMessage("Inbox", "", "subject fails", true);
    addMessage("Inbox", "", "save fails", true);
    addVanishedRow("Inbox", "gone", true);
    auto &items = t.outlook.profile[0]->root->folders[0]->items;
    items[0]->failing = {"Subject"};
    items[1]->failing = {"SaveAs"};
    Option2.setValue(true);
    std::filesystem::create_directory(t.folder / "out/AllEmails.txt"); // cannot be written

    for (const FailureLines &expected :
         {FailureLines{"Checked Items", 192, 196, 218, 224},
          FailureLines{"All", 248, 252, 274, 280}, FailureLines{"Inbox", 304, 308, 330, 336}}) {
        SCOPED_TRACE(expected.choice);
        t.messageBoxes.shown.clear();
        choose(expected.choice);
        click();
        EXPECT_EQ(reportedLines(),
                  (Lines{expected.name, expected.write, expected.save, expected.fetch}));
    }
}

TEST_F(OutlookDownloadRun, OutlookThatCannotBeCreatedIsReportedRowByRow) {
    t.outlook.unavailable = true;
    addMessage("Inbox", "", "one", true);
    addMessage("Inbox", "", "two", true);
    click();
    EXPECT_EQ(reportedLines(), (Lines{136, 138, 192, 192}));
    EXPECT_TRUE(outputFiles().empty());
    EXPECT_EQ(messages(), Strings{"Done."});
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(OutlookDownloadRun, RowsAddedDuringARunAreTaken) {
    addMessage("Inbox", "", "listed", true);
    bool added = false;
    t.events.onEvents = [&] {
        if (!added) {
            added = true;
            addMessage("Inbox", "", "arrived", true);
        }
    };
    click();
    EXPECT_EQ(outputFiles(),
              (Strings{"03-03-2024 02 05 11 PM listed.txt", "03-03-2024 02 05 13 PM arrived.txt"}));
}

TEST(OutlookDownloadNames, SubjectsBecomeFileNamesThatFit) {
    std::string cjk = "Re: ";
    for (int character = 0; character < 90; ++character)
        cjk += "\xE6\x97\xA5";
    std::string accented = "a";
    for (int character = 0; character < 150; ++character)
        accented += "\xC3\xA9";
    const std::string latin(250, 'a');
    // The time stamp, its blank and ".txt" leave 228 of the 255 bytes for the subject.
    const LocalDateTime afternoon{2024, 3, 3, 14, 5, 6};
    const std::string stamp = "03-03-2024 02 05 09 PM ";
    const struct {
        const char *trace;
        LocalDateTime start;
        std::string subject;
        std::string fileName;
    } cases[] = {
        {"the example", afternoon, "Re: Q1/Q2 plan?", stamp + "Re  Q1-Q2 plan.txt"},
        {"empty, after midnight", {2024, 12, 9, 0, 29, 57}, "", "12-09-2024 12 30 00 AM .txt"},
        {"removed characters only", afternoon, "???", stamp + ".txt"},
        {"every replacement", afternoon, "a:b/c\\d*e?f\"g<h>i|j", stamp + "a b-cdefghij.txt"},
        {"no separator survives", afternoon, "../..\\etc/passwd", stamp + "..-..etc-passwd.txt"},
        {"control characters", afternoon, "a\tb\x01. ", stamp + "a\tb\x01. .txt"},
        {"250 Latin letters", afternoon, latin, stamp + latin.substr(0, 228) + ".txt"},
        {"90 CJK characters", afternoon, cjk, stamp + "Re  " + cjk.substr(4, 222) + ".txt"},
        {"two-byte letters", afternoon, accented, stamp + accented.substr(0, 227) + ".txt"},
        {"invalid UTF-8", afternoon, "\xff\xfe(\xc3", stamp + "\xff\xfe(\xc3.txt"},
        // Nothing but continuation bytes: no boundary to cut at within the subject.
        {"stray continuation bytes", afternoon, std::string(300, '\x80'),
         "03-03-2024 02 05 09 PM.txt"},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.trace);
        test_support::DownloadFixture run;
        // The run waits 2.5 seconds before it forms the first name.
        run.t.clock.current = test.start;
        run.t.clock.fraction = 0.5;
        run.addMessage("Inbox", "", test.subject, true);
        run.click();
        EXPECT_TRUE(run.t.reports().empty()) << run.t.reports().front();
        EXPECT_EQ(run.outputFiles(), Strings{test.fileName});
    }
}

TEST_F(OutlookDownloadRun, TimeStampsThatComeRoundAgainNeverReplaceThisRunsFiles) {
    const std::string subject(250, 'W');
    const std::string stamp = "03-03-2024 02 05 11 PM ";
    t.folder.write("out/" + stamp + subject.substr(0, 228) + ".txt", "left by an earlier run");
    for (int message = 0; message < 3; ++message)
        addMessage("Inbox", "", subject, true);
    // Every pause ends with the clock put back, as in the hour that repeats in autumn.
    t.events.onEvents = [&] { t.clock.current.second = 11; };
    click();
    EXPECT_EQ(outputFiles(), (Strings{stamp + subject.substr(0, 224) + " (2).txt",
                                      stamp + subject.substr(0, 224) + " (3).txt",
                                      stamp + subject.substr(0, 228) + ".txt"}));
    EXPECT_NE(t.folder.read("out/" + stamp + subject.substr(0, 228) + ".txt"),
              "left by an earlier run");
    EXPECT_TRUE(t.reports().empty());
}

TEST_F(OutlookDownloadRun, SameSubjectTwiceGetsTwoNames) {
    choose("All");
    addMessage("Inbox", "", "Weekly report");
    addMessage("Inbox", "", "Weekly report");
    click();
    EXPECT_EQ(outputFiles(), (Strings{"03-03-2024 02 05 11 PM Weekly report.txt",
                                      "03-03-2024 02 05 13 PM Weekly report.txt"}));
}

} // namespace
} // namespace qb::exporting
