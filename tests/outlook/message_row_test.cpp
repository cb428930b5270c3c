#include "listing_fixture.h"

#include <set>

namespace qb::test {
namespace {

/// The rows the listing builds from what the shared walk hands it (the walk itself is tested
/// in tests/mail).
class MessageRowTest : public ListingTest {};

TEST_F(MessageRowTest, FillsFolderAndSubfolderFromTheLevelOneFolderAndTheHoldingFolder) {
    MemoryFolder &root = test.outlook.addProfileStore("Personal Folders");
    MemoryFolder &inbox = root.add("Inbox");
    inbox.add(Mail("direct"));
    inbox.add("Projects").add("2020").add(Mail("deep"));
    inbox.add("Inbox").add(Mail("same name"));
    root.add("inbox").add(Mail("other case"));

    listing.listMessages();

    ASSERT_EQ(ListView1.rowCount(), 4);
    const auto all = rows();
    EXPECT_EQ(std::vector<std::string>(all[0].begin(), all[0].begin() + 3),
              (Strings{"Personal Folders", "Inbox", "2020"}));
    EXPECT_EQ(std::vector<std::string>(all[1].begin(), all[1].begin() + 3),
              (Strings{"Personal Folders", "Inbox", ""}));
    EXPECT_EQ(std::vector<std::string>(all[2].begin(), all[2].begin() + 3),
              (Strings{"Personal Folders", "Inbox", ""}));
    EXPECT_EQ(std::vector<std::string>(all[3].begin(), all[3].begin() + 3),
              (Strings{"Personal Folders", "inbox", ""}));
}

TEST_F(MessageRowTest, FillsTheMessageCells) {
    MemoryItem item = Mail("Quarterly figures");
    item.senderName = "John Smith";
    item.senderEmailAddress = "john@example.com";
    item.attachments = 3;
    item.receivedTime = {2023, 11, 5, 9, 7, 3};
    item.entryId = "00AB";
    test.outlook.addProfileStore("Store").add("Inbox").add(item);

    listing.listMessages();

    ASSERT_EQ(ListView1.rowCount(), 1);
    EXPECT_EQ(rows()[0], (Strings{"Store", "Inbox", "", "11/5/2023 9:07:03 AM", "John Smith",
                                  "john@example.com", "Yes (3)", "Quarterly figures", "00AB"}));
}

TEST_F(MessageRowTest, LeavesTheTimeOutAtExactlyMidnightAndTheDateWithoutAnyTime) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    MemoryItem midnight = Mail("midnight");
    midnight.receivedTime = {2024, 1, 2, 0, 0, 0};
    MemoryItem secondPast = Mail("a second past");
    secondPast.receivedTime = {2024, 1, 2, 0, 0, 1};
    MemoryItem noTime = Mail("no time");
    noTime.receivedTime = {};
    inbox.add(midnight);
    inbox.add(secondPast);
    inbox.add(noTime);

    listing.listMessages();

    EXPECT_EQ(column(4), (Strings{"1/2/2024", "1/2/2024 12:00:01 AM", ""}));
    EXPECT_EQ(column(7), (Strings{"No", "No", "No"}));
}

TEST_F(MessageRowTest, ShowsOnlySmtpAddressesAndNoneBeforeVersion10) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    MemoryItem smtp = Mail("smtp");
    smtp.senderEmailAddress = "a@example.com";
    MemoryItem exchange = Mail("exchange");
    exchange.senderEmailType = "EX";
    exchange.senderEmailAddress = "/O=ORG/OU=SITE/CN=RECIPIENTS/CN=JSMITH";
    MemoryItem lowerType = Mail("lower-case type");
    lowerType.senderEmailType = "smtp";
    lowerType.senderEmailAddress = "b@example.com";
    inbox.add(smtp);
    inbox.add(exchange);
    inbox.add(lowerType);

    listing.listMessages();
    EXPECT_EQ(column(6), (Strings{"a@example.com", "", ""}));

    ListView1.clear();
    test.outlook.version = "9.0.0.2711";
    listing.listMessages();
    EXPECT_EQ(column(6), (Strings{"", "", ""}));
}

TEST_F(MessageRowTest, YieldsBeforeEachStoreFolderAndItem) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.add("Inbox").add(Mail("one"));
    root.add("Sent Items").add(Mail("two"));

    listing.listMessages();

    // One store, two folders, two items.
    EXPECT_EQ(test.events.processed, 5);
    EXPECT_EQ(test.clock.sleeps, std::vector<int>{1000});
}

TEST_F(MessageRowTest, ItemWhoseClassAloneCannotBeReadIsListedAsMail) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    const std::vector<std::set<std::string>> failing = {
        {"Class"}, {"Class", "SenderName"}, {"Class", "Subject"}};
    for (const auto &properties : failing) {
        MemoryItem appointment = Mail("unreadable class");
        appointment.itemClass = 26;
        appointment.senderName = "Ann";
        appointment.failing = properties;
        inbox.add(appointment);
    }

    listing.listMessages();

    EXPECT_EQ(column(5), (Strings{"Ann", "", "Ann"}));
    EXPECT_EQ(subjects(), (Strings{"unreadable class", "unreadable class", ""}));
    const auto reports = test.reports();
    ASSERT_EQ(reports.size(), 5u); // the class of each, and the one other property that failed
    EXPECT_TRUE(HasText(reports[0], "in Ferndock2021/08/31.Form1.GetMailItems at line 118"));
    EXPECT_TRUE(HasText(reports[0], "\r\npFld.Folders.count: 1"));
    EXPECT_TRUE(HasText(reports[1], "at line 118"));
    EXPECT_TRUE(HasText(reports[2], "at line 130"));
    EXPECT_TRUE(HasText(reports[3], "at line 118"));
    EXPECT_TRUE(HasText(reports[4], "at line 138"));
}

TEST_F(MessageRowTest, UnreadableSenderTypeShowsTheAddress) {
    MemoryItem item = Mail("type unknown");
    item.senderEmailType = "EX";
    item.senderEmailAddress = "/O=ORG/CN=JSMITH";
    item.failing = {"SenderEmailType"};
    test.outlook.addProfileStore("Store").add("Inbox").add(item);

    listing.listMessages();

    EXPECT_EQ(column(6), (Strings{"/O=ORG/CN=JSMITH"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "at line 132"));
}

TEST_F(MessageRowTest, UnreadableCellsStayEmptyAndTheRowIsStillAdded) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    MemoryItem broken = Mail("broken");
    broken.senderName = "Ann";
    broken.failing = {"ReceivedTime", "SenderEmailAddress", "Attachments", "EntryID"};
    inbox.add(broken);
    inbox.add(Mail("next"));

    listing.listMessages();

    ASSERT_EQ(ListView1.rowCount(), 2);
    EXPECT_EQ(rows()[0], (Strings{"Store", "Inbox", "", "", "Ann", "", "", "broken", ""}));
    const auto reports = test.reports();
    ASSERT_EQ(reports.size(), 4u);
    EXPECT_TRUE(HasText(reports[0], "at line 128"));
    EXPECT_TRUE(HasText(reports[1], "at line 134"));
    EXPECT_TRUE(HasText(reports[2], "at line 136"));
    EXPECT_TRUE(HasText(reports[3], "at line 140"));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(MessageRowTest, UnreadableSubfolderNameLeavesFolderCellsEmpty) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.add("Inbox").add(Mail("in inbox"));
    MemoryFolder &nameless = root.add("Unknown");
    nameless.failing = {"name"};
    nameless.add(Mail("nameless"));

    listing.listMessages();

    // The nameless folder's rows must not be taken for the previous folder's.
    ASSERT_EQ(ListView1.rowCount(), 2);
    EXPECT_EQ(rows()[0][1], "Inbox");
    EXPECT_EQ(rows()[1][1], "");
    EXPECT_EQ(rows()[1][2], "");
    const auto reports = test.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(HasText(reports[0], "at line 108"));
    EXPECT_TRUE(HasText(reports[1], "at line 126"));
}

TEST_F(MessageRowTest, UnreadableRootFolderCountReachesTheListing) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.failing = {"Folders.count"};
    root.add("Inbox").add(Mail("unreached"));

    listing.listMessages();

    EXPECT_EQ(ListView1.rowCount(), 0);
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "Form1.getAllEmailOutlook at line 122"));
    EXPECT_FALSE(HasText(test.reports()[0], "pFld.Folders.count"));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

} // namespace
} // namespace qb::test
