#include "app/express_window.h"
#include "app/main_window.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace qb {
namespace {

using Strings = std::vector<std::string>;

/// A mail message of the memory store with the given subject.
test::MemoryItem Mail(const std::string &subject) {
    test::MemoryItem item;
    item.subject = subject;
    item.body = "Body of " + subject;
    return item;
}

/// Both windows over the scripted platform, with two profile stores of three messages each, and
/// a watch on every pass of the events while a long action runs.
class LongActions : public ::testing::Test {
  protected:
    LongActions() {
        for (const char *store : {"Outlook.pst", "Archive.pst"}) {
            test::MemoryFolder &inbox =
                fixture.outlook.addProfileStore(store, "/mail/" + std::string(store)).add("Inbox");
            for (int number = 1; number <= 3; ++number)
                inbox.add(Mail(std::string(store) + " needle " + std::to_string(number)));
        }
        std::filesystem::create_directory(outputFolder);
        form1.load();
        form1.Text3.setText(outputFolder);
        form2.load();
        form2.Text3.setText(outputFolder);
    }

    /// At every pass of the events while window runs a long action: notes the status text, and
    /// whether Stop was offered and the starters disabled; presses Stop at the first status
    /// that begins with stopAt (never when it is empty).
    void watch(WindowModel &window, const std::string &stopAt) {
        seen.clear();
        fixture.events.onEvents = [this, &window, stopAt] {
            if (!window.runningAction())
                return;
            StatusLine &status = window.statusLine();
            seen.push_back(status.text());
            for (const Control *starter : window.actionStarters())
                busyThroughout = busyThroughout && !starter->enabled();
            busyThroughout = busyThroughout && status.stopEnabled();
            if (!stopAt.empty() && status.text().starts_with(stopAt) && !stopped) {
                stopped = true;
                status.pressStop();
            }
        };
    }

    /// After a run: the starters are enabled again and Stop is withdrawn.
    static void expectIdle(const WindowModel &window) {
        for (const Control *starter : window.actionStarters())
            EXPECT_TRUE(starter->enabled()) << starter->name();
        EXPECT_FALSE(window.statusLine().stopEnabled());
        EXPECT_EQ(window.runningAction(), nullptr);
    }

    /// Lists both stores without a watch, and checks every row.
    void listEverything() {
        form1.PushButton1.click();
        form1.PushButton5.click();
        fixture.messageBoxes.shown.clear();
    }

    /// Three Outlook Express rows whose .eml files lie in the work folder.
    void addExpressRows() {
        std::filesystem::create_directories(fixture.platform.workFolder);
        for (int number = 1; number <= 3; ++number) {
            const std::string name = "Inbox-0000" + std::to_string(number) + ".eml";
            const std::string subject = "Express " + std::to_string(number);
            std::ofstream(fixture.platform.workFolder + "/" + name)
                << "Subject: " << subject << "\r\n\r\nBody " << number << "\r\n";
            form2.ListView2.setChecked(
                form2.ListView2.addRow({"jo@example.com", "Inbox.dbx", subject, "Mon"}), true);
            form2.EmlFileNames.push_back(name);
        }
    }

    test::TestPlatform fixture;
    std::string outputFolder = fixture.folder / "out/";
    Settings settings{fixture.settings, fixture.platform.messages};
    ExpressWindow form2{fixture.platform, settings};
    MainWindow form1{fixture.platform, settings, form2};
    Strings seen;
    bool busyThroughout = true;
    bool stopped = false;
};

TEST_F(LongActions, ListingAndFindCountInTheStatusLineAndStopAfterTheCurrentMessage) {
    struct Case {
        std::string search; // empty: "Get Emails From Outlook", else Find
        std::string stopAt;
        std::string firstStatus;
        std::string lastStatus; // with N for the rows kept
    };
    const Case cases[] = {
        {"", "", "Listing Outlook.pst (store 1 of 2), 0 messages", "Listed 6 messages"},
        {"needle 2", "", "Searching Outlook.pst (store 1 of 2), 0 messages found",
         "Found 2 messages"},
        {"", "Listing Outlook.pst (store 1 of 2), 2 messages", "", "Stopped after N messages"},
        {"", "Listing Archive.pst (store 2 of 2)", "", "Stopped after N messages"},
    };
    for (const Case &run : cases) {
        SCOPED_TRACE(run.search + "|" + run.stopAt);
        form1.ListView1.clear();
        fixture.messageBoxes.shown.clear();
        stopped = false;
        busyThroughout = true;
        watch(form1.window, run.stopAt);
        form1.Text1.setText(run.search);
        if (run.search.empty())
            form1.PushButton1.click();
        else
            form1.PushButton2.click();

        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.front(), "Opening the mail stores");
        if (!run.firstStatus.empty()) {
            const auto store = std::find_if(seen.begin(), seen.end(), [](const std::string &text) {
                return text.starts_with("Listing ") || text.starts_with("Searching ");
            });
            ASSERT_NE(store, seen.end());
            EXPECT_EQ(*store, run.firstStatus);
        }
        EXPECT_TRUE(busyThroughout);
        std::string last = run.lastStatus;
        if (const auto n = last.find('N'); n != std::string::npos)
            last.replace(n, 1, std::to_string(form1.ListView1.rowCount()));
        EXPECT_EQ(form1.window.statusLine().text(), last);
        if (!run.stopAt.empty()) {
            EXPECT_LT(form1.ListView1.rowCount(), 6) << "the rows listed so far stay";
        }
        // The usual closing box follows the status line's count.
        EXPECT_EQ(fixture.messageTexts(), Strings{"Done."});
        expectIdle(form1.window);
    }
}

TEST_F(LongActions, DownloadCountsDownAndStopsBetweenTwoMessages) {
    listEverything();
    struct Case {
        std::string stopAt;
        std::string lastStatus; // with N for the files written
    };
    for (const Case &run : {Case{"", "Saved 6 messages to …/out"},
                            Case{"Saving message 2 of 6", "Stopped after N of 6"}}) {
        SCOPED_TRACE(run.stopAt);
        std::filesystem::remove_all(outputFolder);
        std::filesystem::create_directory(outputFolder);
        fixture.messageBoxes.shown.clear();
        stopped = false;
        busyThroughout = true;
        watch(form1.window, run.stopAt);
        form1.PushButton3.click();

        ASSERT_FALSE(seen.empty());
        // At first each message is reckoned at the least it takes: a second and a half.
        EXPECT_EQ(seen.front(), "Saving message 1 of 6, about 9 s left");
        EXPECT_TRUE(busyThroughout);
        const auto files = test::FileNamesIn(outputFolder);
        std::string last = run.lastStatus;
        if (const auto n = last.find('N'); n != std::string::npos)
            last.replace(n, 1, std::to_string(files.size()));
        EXPECT_EQ(form1.window.statusLine().text(), last);
        EXPECT_EQ(files.size(), run.stopAt.empty() ? 6u : 1u);
        EXPECT_EQ(fixture.messageTexts(), Strings{"Done."});
        expectIdle(form1.window);
    }
}

TEST_F(LongActions, ExpressDownloadCountsAndStopsAfterTheMessageItWrote) {
    addExpressRows();
    for (const std::string stopAt : {"", "Saving message 2 of 3"}) {
        SCOPED_TRACE(stopAt);
        std::filesystem::remove_all(outputFolder);
        std::filesystem::create_directory(outputFolder);
        fixture.messageBoxes.shown.clear();
        stopped = false;
        busyThroughout = true;
        watch(form2.window, stopAt);
        form2.PushButton7.click();

        EXPECT_TRUE(busyThroughout);
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(seen.front().starts_with("Saving message 1 of 3, about ")) << seen.front();
        const auto files = test::FileNamesIn(outputFolder);
        EXPECT_EQ(files.size(), stopAt.empty() ? 3u : 2u);
        EXPECT_EQ(form2.window.statusLine().text(),
                  stopAt.empty() ? "Saved 3 messages to …/out" : "Stopped after 2 of 3");
        EXPECT_EQ(fixture.messageTexts(), Strings{"Done."});
        expectIdle(form2.window);
    }
}

TEST_F(LongActions, TheReadOnlyViewShowsWhatTheDownloadSaves) {
    listEverything();
    form1.PushButton6.click(); // deselect all
    form1.ListView1.setChecked(2, true);
    form1.ListView1.open(2);
    form1.PushButton3.click();
    addExpressRows();
    form2.ListView2.open(3);
    for (int row = 1; row <= 2; ++row)
        form2.ListView2.setChecked(row, false);
    form2.PushButton7.click();

    const auto files = test::FileNamesIn(outputFolder);
    ASSERT_EQ(files.size(), 2u);
    ASSERT_EQ(fixture.viewer.shown.size(), 2u);
    EXPECT_EQ(fixture.viewer.shown[0].title, "Outlook.pst needle 2");
    EXPECT_EQ(fixture.viewer.shown[1].title, "Express 3");
    Strings viewed{fixture.viewer.shown[0].text, fixture.viewer.shown[1].text};
    Strings saved{fixture.folder.read("out/" + files[0]), fixture.folder.read("out/" + files[1])};
    std::sort(viewed.begin(), viewed.end());
    std::sort(saved.begin(), saved.end());
    EXPECT_EQ(viewed, saved);
    EXPECT_TRUE(fixture.reports().empty());
}

TEST_F(LongActions, NoViewOpensWhileAnActionRuns) {
    listEverything();
    int opened = 0;
    fixture.events.onEvents = [&] {
        if (form1.window.runningAction() && opened++ == 0)
            form1.ListView1.open(1);
    };
    form1.PushButton3.click();
    EXPECT_GT(opened, 0);
    EXPECT_TRUE(fixture.viewer.shown.empty());
}

} // namespace
} // namespace qb
