#include "support/made_store.h"
#include "support/real_store_windows.h"
#include "support/sample_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qb {
namespace {

namespace fs = std::filesystem;

/// The main window over the real mail-store layer, with a profile folder that holds the made
/// store and scripted dialogs.
class EndToEnd : public ::testing::Test, protected test::RealStoreWindows {
  protected:
    void SetUp() override {
        test::WriteMadeStore(profile / "made.pst");
        fs::create_directory(output / "out");
        form1.load();
    }

    std::vector<std::string> column(int cell) const {
        std::vector<std::string> cells;
        for (int row = 1; row <= form1.ListView1.rowCount(); ++row)
            cells.emplace_back(form1.ListView1.cell(row, cell));
        return cells;
    }

    std::vector<std::string> writtenFiles() const { return test::FileNamesIn(output / "out"); }

    test::UtcLocalTime utc;
};

TEST_F(EndToEnd, ListsTheProfileStoreWithEveryCell) {
    form1.PushButton1.click();

    EXPECT_TRUE(fixture.reports().empty()) << fixture.reports().front();
    ASSERT_EQ(form1.ListView1.rowCount(), 38);
    // The Inbox's first message with attachments in the sixth row; its sender's address is an
    // Exchange one, which the Email cell leaves out.
    const std::vector<std::string> sixth = {
        "Beispiel-Postfach ✉", "Inbox", "",        "1/1/2024 3:45:39 AM",
        "Søren Kierkegård",    "",      "Yes (5)", "会議の議事録 #3"};
    for (int cell = 1; cell <= 8; ++cell)
        EXPECT_EQ(form1.ListView1.cell(6, cell), sixth[static_cast<std::size_t>(cell - 1)])
            << "cell " << cell;
    const auto folders = column(2);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Inbox"), 20);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Sent Items"), 4);
    EXPECT_EQ(form1.ListView1.cell(4, 7), "No");
    EXPECT_EQ(fixture.messageBoxes.texts().back(), "Done.");
    EXPECT_EQ(fixture.clock.sleeps, std::vector<int>{1000});
}

TEST_F(EndToEnd, DamagedProfileStoreIsReportedAndTheOthersAreListed) {
    profile.write("a-broken.pst", std::string(4096, 'x'));
    form1.PushButton1.click();

    const auto reports = fixture.reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("a-broken.pst"), std::string::npos) << reports[0];
    EXPECT_NE(reports[0].find("Form1.getAllEmailOutlook at line"), std::string::npos);
    EXPECT_EQ(form1.ListView1.rowCount(), 38);
    EXPECT_EQ(fixture.messageBoxes.texts().back(), "Done.");
}

TEST_F(EndToEnd, PstSourceListsTheChosenFileOnly) {
    test::WriteOneMessageStore(output / "chosen.pst", "Chosen", "Only this one");
    form1.Option4.setValue(true);
    form1.Text2.setText(output / "chosen.pst");
    form1.PushButton1.click();

    EXPECT_TRUE(fixture.reports().empty()) << fixture.reports().front();
    EXPECT_EQ(column(8), std::vector<std::string>{"Only this one"});
    EXPECT_EQ(fixture.settings.values["Option4"], "True");
    EXPECT_EQ(fixture.settings.values["PST File"], output / "chosen.pst");
}

TEST_F(EndToEnd, FindWithASenderNameNarrowsTheList) {
    form1.PushButton1.click();
    form1.Text1.setText("josé garcía");
    form1.PushButton2.click();

    EXPECT_EQ(column(5), std::vector<std::string>(6, "José García"));
    form1.Text1.setText("no such words anywhere");
    form1.PushButton2.click();
    EXPECT_EQ(form1.ListView1.rowCount(), 0);
    EXPECT_EQ(fixture.messageBoxes.texts().back(), "Done.");
}

TEST_F(EndToEnd, DownloadsAllMessagesOneFileEach) {
    form1.PushButton1.click();
    form1.Text3.setText(output / "out/");
    form1.Combo1.setListIndex(1); // "All"
    form1.PushButton3.click();

    EXPECT_TRUE(fixture.reports().empty()) << fixture.reports().front();
    const auto files = writtenFiles();
    ASSERT_EQ(files.size(), 38u);
    EXPECT_EQ(files.front().substr(0, 14), "03-03-2024 02 ");
    const std::string text = output.read("out/" + files.front());
    for (const char *header : {"From:\t", "Sent:\t", "To:\t", "Subject:\t"})
        EXPECT_NE(text.find(header), std::string::npos) << header;
    EXPECT_EQ(fixture.messageBoxes.texts().back(), "Done.");
}

TEST_F(EndToEnd, OneFileModeGathersTheMessagesInListOrder) {
    form1.PushButton1.click();
    form1.Text3.setText(output / "out/");
    form1.Option2.setValue(true);
    form1.Combo1.setListIndex(1);
    form1.PushButton3.click();

    EXPECT_EQ(writtenFiles(), std::vector<std::string>{"AllEmails.txt"});
    const std::string all = output.read("out/AllEmails.txt");
    std::size_t position = 0;
    for (const std::string &subject : column(8)) {
        const std::size_t found = all.find("Subject:\t" + subject, position);
        ASSERT_NE(found, std::string::npos) << subject;
        position = found;
    }
}

TEST_F(EndToEnd, InboxTakesOnlyTheInboxMessages) {
    form1.PushButton1.click();
    form1.Text3.setText(output / "out/");
    form1.Combo1.setListIndex(2); // "Inbox"
    form1.PushButton3.click();

    EXPECT_EQ(writtenFiles().size(), 22u); // the Inbox's 20 and a subfolder named Inbox's 2
}

/// The profile holds the offline store from outside beside the made store.
class SampleEndToEnd : public EndToEnd {};

// The offline store keeps its folders under "Root - Mailbox"/"IPM_SUBTREE"; its Inbox holds 10
// messages directly and 54 in two subfolders, and the "Inbox" scope must take all of them.
TEST_F(SampleEndToEnd, InboxOfAnOfflineStoreTakesItsSubfoldersInOneFile) {
    const std::string samples = test::RequireSamples();
    if (samples.empty())
        return;
    fs::copy_file(samples + "/offline-store.ost", profile / "offline-store.ost");
    form1.PushButton1.click();
    form1.Text3.setText(output / "out/");
    form1.Option2.setValue(true);
    form1.Combo1.setListIndex(2); // "Inbox"
    form1.PushButton3.click();

    EXPECT_TRUE(fixture.reports().empty()) << fixture.reports().front();
    const std::string all = output.read("out/AllEmails.txt");
    std::size_t records = 0;
    for (std::size_t at = all.find("From:\t"); at != std::string::npos;
         at = all.find("From:\t", at + 1)) {
        ++records;
        // Each record starts on a line of its own, whatever the previous body ended with.
        EXPECT_TRUE(at == 0 || all.compare(at - 2, 2, "\r\n") == 0) << "record " << records;
    }
    EXPECT_EQ(records, 22u + 64u);
}

TEST_F(EndToEnd, BrowseButtonOpensOnTheLastFolderAndEndsTheBoxWithASlash) {
    fixture.settings.values["LastFolderDot"] = "/srv/mail";
    fixture.folderPicker.answers.push_back(output / "out");
    form1.PushButton9.click();

    ASSERT_EQ(fixture.folderPicker.calls.size(), 1u);
    EXPECT_EQ(fixture.folderPicker.calls[0].startFolder, "/srv/mail");
    EXPECT_EQ(fixture.folderPicker.calls[0].prompt, "Please select folder:");
    EXPECT_EQ(form1.Text3.text(), output / "out/");
    EXPECT_EQ(fixture.settings.values["LastFolderDot"], output / "out");
    EXPECT_EQ(fixture.settings.values["Location1"], output / "out/");
}

} // namespace
} // namespace qb
