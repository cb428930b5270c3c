#include "listing_fixture.h"

#include <set>

namespace qb::test {
namespace {

class MailWalkTest : public ListingTest {};

TEST_F(MailWalkTest, ListsSubfoldersBeforeTheirOwnMessagesAndNeverTheRootsMessages) {
    MemoryFolder &root = test.outlook.addProfileStore("Personal Folders");
    root.add(Mail("in the root"));
    MemoryFolder &inbox = root.add("Inbox");
    inbox.add(Mail("inbox 1"));
    inbox.add(Mail("inbox 2"));
    MemoryFolder &projects = inbox.add("Projects");
    projects.add(Mail("projects"));
    projects.add("2020").add(Mail("2020"));
    root.add("Sent Items").add(Mail("sent"));

    listing.PushButton1_Click();

    EXPECT_EQ(subjects(), (Strings{"2020", "projects", "inbox 1", "inbox 2", "sent"}));
    EXPECT_TRUE((test.reports()).empty());
}

TEST_F(MailWalkTest, FillsFolderAndSubfolderFromTheLevelOneFolderAndTheHoldingFolder) {
    MemoryFolder &root = test.outlook.addProfileStore("Personal Folders");
    MemoryFolder &inbox = root.add("Inbox");
    inbox.add(Mail("direct"));
    inbox.add("Projects").add("2020").add(Mail("deep"));
    inbox.add("Inbox").add(Mail("same name"));
    root.add("inbox").add(Mail("other case"));

    listing.PushButton1_Click();

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

TEST_F(MailWalkTest, ListsOnlyMailMessagesWhateverFolderHoldsThem) {
    MemoryFolder &calendar = test.outlook.addProfileStore("Store").add("Calendar");
    for (int itemClass : {26, 40, 48, 53, 46, 0}) {
        MemoryItem item = Mail("class " + std::to_string(itemClass));
        item.itemClass = itemClass;
        calendar.add(item);
    }
    calendar.add(Mail("mail"));

    listing.PushButton1_Click();

    EXPECT_EQ(subjects(), (Strings{"mail"}));
}

TEST_F(MailWalkTest, SkipsNewsAndPublicFolderTreesByExactName) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    MemoryFolder &news = root.add("Internet Newsgroups");
    news.add(Mail("directly in news"));
    news.add("comp.lang").add(Mail("below news"));
    MemoryFolder &publicFolders = root.add("All Public Folders");
    publicFolders.add("Team").add(Mail("below public"));
    root.add("all public folders").add("Team").add(Mail("below lower-case public"));

    listing.PushButton1_Click();

    // The messages directly in a skipped folder are listed by its parent's walk.
    EXPECT_EQ(subjects(), (Strings{"directly in news", "below lower-case public"}));
}

TEST_F(MailWalkTest, RootNamedInternetNewsgroupsYieldsNothing) {
    test.outlook.addProfileStore("Internet Newsgroups").add("group").add(Mail("news"));
    test.outlook.addProfileStore("Store");

    listing.PushButton1_Click();

    EXPECT_EQ(ListView1.rowCount(), 0);
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(MailWalkTest, FillsTheMessageCells) {
    MemoryItem item = Mail("Quarterly figures");
    item.senderName = "John Smith";
    item.senderEmailAddress = "john@example.com";
    item.attachments = 3;
    item.receivedTime = {2023, 11, 5, 9, 7, 3};
    item.entryId = "00AB";
    test.outlook.addProfileStore("Store").add("Inbox").add(item);

    listing.PushButton1_Click();

    ASSERT_EQ(ListView1.rowCount(), 1);
    EXPECT_EQ(rows()[0], (Strings{"Store", "Inbox", "", "11/5/2023 9:07:03 AM", "John Smith",
                                  "john@example.com", "Yes (3)", "Quarterly figures", "00AB"}));
}

TEST_F(MailWalkTest, LeavesTheTimeOutAtExactlyMidnightAndTheDateWithoutAnyTime) {
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

    listing.PushButton1_Click();

    EXPECT_EQ(column(4), (Strings{"1/2/2024", "1/2/2024 12:00:01 AM", ""}));
    EXPECT_EQ(column(7), (Strings{"No", "No", "No"}));
}

TEST_F(MailWalkTest, ShowsOnlySmtpAddressesAndNoneBeforeVersion10) {
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

    listing.PushButton1_Click();
    EXPECT_EQ(column(6), (Strings{"a@example.com", "", ""}));

    ListView1.clear();
    test.outlook.version = "9.0.0.2711";
    listing.PushButton1_Click();
    EXPECT_EQ(column(6), (Strings{"", "", ""}));
}

TEST_F(MailWalkTest, YieldsBeforeEachStoreFolderAndItem) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.add("Inbox").add(Mail("one"));
    root.add("Sent Items").add(Mail("two"));

    listing.PushButton1_Click();

    // One store, two folders, two items.
    EXPECT_EQ(test.events.processed, 5);
    EXPECT_EQ(test.clock.sleeps, std::vector<int>{1000});
}

// Failures on single properties: each is reported and the walk resumes as described.

TEST_F(MailWalkTest, ItemWhoseClassAloneCannotBeReadIsListedAsMail) {
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

    listing.PushButton1_Click();

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

TEST_F(MailWalkTest, ItemsThatCannotBeReadAtAllGetNoRowsAndOneReportPerStore) {
    MemoryItem unreadable = Mail("never shown");
    unreadable.itemClass = 40;
    unreadable.failing = {"Class", "Subject",     "SenderName",         "ReceivedTime",
                          "Body",  "Attachments", "SenderEmailAddress", "SenderEmailType"};
    MemoryFolder &archive = test.outlook.addProfileStore("Archive");
    MemoryFolder &contacts = archive.add("Contacts");
    contacts.add("Old").add(unreadable);
    for (int i = 0; i < 11; ++i)
        contacts.add(unreadable);
    contacts.add(Mail("readable"));
    archive.add("Inbox").add(Mail("inbox mail"));
    MemoryFolder &mailbox = test.outlook.addProfileStore("Mailbox").add("Inbox");
    mailbox.add(Mail("mailbox mail"));
    mailbox.add(unreadable);
    test.outlook.addProfileStore("Clean").add("Inbox").add(Mail("clean mail"));

    listing.PushButton1_Click();

    EXPECT_EQ(subjects(), (Strings{"readable", "inbox mail", "mailbox mail", "clean mail"}));
    const auto reports = test.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(HasText(reports[0], "12 items of the store \"Archive\" could not be read and are "
                                    "not listed: Contacts/Old, item 1; Contacts, item 1; "
                                    "Contacts, item 2 and 9 more. The first failed with: The "
                                    "property \"Class\" is unknown."));
    EXPECT_TRUE(HasText(reports[0], "in Ferndock2021/08/31.Form1.GetMailItems at line 144"));
    EXPECT_TRUE(HasText(reports[0], "pFld.Folders.count: 2"));
    EXPECT_TRUE(HasText(reports[1], "1 item of the store \"Mailbox\" could not be read and is "
                                    "not listed: Inbox, item 2. The first"));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(MailWalkTest, FolderWhoseNameCannotBeTestedIsWalked) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    MemoryFolder &news = root.add("Internet Newsgroups");
    news.failing = {"defaultValue"};
    news.add("group").add(Mail("walked anyway"));

    listing.PushButton1_Click();

    EXPECT_EQ(subjects(), (Strings{"walked anyway"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "GetMailItems at line 100"));
    EXPECT_TRUE(HasText(test.reports()[0], "pFld.Folders.count: 1"));
}

TEST_F(MailWalkTest, UnreadableSenderTypeShowsTheAddress) {
    MemoryItem item = Mail("type unknown");
    item.senderEmailType = "EX";
    item.senderEmailAddress = "/O=ORG/CN=JSMITH";
    item.failing = {"SenderEmailType"};
    test.outlook.addProfileStore("Store").add("Inbox").add(item);

    listing.PushButton1_Click();

    EXPECT_EQ(column(6), (Strings{"/O=ORG/CN=JSMITH"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "at line 132"));
}

TEST_F(MailWalkTest, UnreadableCellsStayEmptyAndTheRowIsStillAdded) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    MemoryItem broken = Mail("broken");
    broken.senderName = "Ann";
    broken.failing = {"ReceivedTime", "SenderEmailAddress", "Attachments", "EntryID"};
    inbox.add(broken);
    inbox.add(Mail("next"));

    listing.PushButton1_Click();

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

TEST_F(MailWalkTest, UnreadableSubfolderNameLeavesFolderCellsEmpty) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.add("Inbox").add(Mail("in inbox"));
    MemoryFolder &nameless = root.add("Unknown");
    nameless.failing = {"name"};
    nameless.add(Mail("nameless"));

    listing.PushButton1_Click();

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

TEST_F(MailWalkTest, UnreadableItemsGoOnWithTheNextFolder) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    MemoryFolder &inbox = root.add("Inbox");
    inbox.failing = {"Items"};
    inbox.add(Mail("hidden"));
    root.add("Sent Items").add(Mail("sent"));

    listing.PushButton1_Click();

    EXPECT_EQ(subjects(), (Strings{"sent"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "GetMailItems at line 112"));
    EXPECT_TRUE(HasText(test.reports()[0], "pFld.Folders.count: 2"));
}

TEST_F(MailWalkTest, UnreadableFolderCountReachesTheParentWalk) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    MemoryFolder &inbox = root.add("Inbox");
    inbox.failing = {"Folders.count"};
    inbox.add("Below").add(Mail("below"));
    inbox.add(Mail("in inbox"));
    root.add("Sent Items").add(Mail("sent"));

    listing.PushButton1_Click();

    // The child's report cannot be built, so its parent reports the call and goes on with the
    // child's own messages.
    EXPECT_EQ(subjects(), (Strings{"in inbox", "sent"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "GetMailItems at line 110"));
    EXPECT_TRUE(HasText(test.reports()[0], "pFld.Folders.count: 2"));
}

TEST_F(MailWalkTest, UnreadableRootFolderCountReachesTheListing) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.failing = {"Folders.count"};
    root.add("Inbox").add(Mail("unreached"));

    listing.PushButton1_Click();

    EXPECT_EQ(ListView1.rowCount(), 0);
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "Form1.getAllEmailOutlook at line 122"));
    EXPECT_FALSE(HasText(test.reports()[0], "pFld.Folders.count"));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(MailWalkTest, WalkOfARootWithoutSubfoldersAddsNoRows) {
    test.outlook.addProfileStore("Empty").add(Mail("in the root"));

    listing.PushButton1_Click();

    EXPECT_EQ(ListView1.rowCount(), 0);
    EXPECT_EQ(test.events.processed, 1); // the store's own yield only
}

} // namespace
} // namespace qb::test
