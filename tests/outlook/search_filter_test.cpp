#include "listing_fixture.h"

namespace qb::test {
namespace {

/// Find over one Inbox whose messages the tests fill.
class SearchTest : public ListingTest {
  protected:
    SearchTest() : inbox(test.outlook.addProfileStore("Store").add("Inbox")) {}

    MemoryItem &add(const std::string &subject) { return inbox.add(Mail(subject)); }

    std::vector<std::string> find(const std::string &text) {
        Text1.setText(text);
        ListView1.clear();
        listing.findMessages();
        return subjects();
    }

    MemoryFolder &inbox;
};

TEST_F(SearchTest, MatchesSenderNameBodyAndAddressIgnoringCase) {
    add("from smith").senderName = "John Smith";
    add("body").body = "see xAbCx inside";
    add("corp").senderName = "ABC Corp";
    add("address").senderEmailAddress = "ann@smithery.example";
    add("nothing").senderName = "Jane Doe";

    EXPECT_EQ(find("smith"), (Strings{"from smith", "address"}));
    EXPECT_EQ(find("abc"), (Strings{"body", "corp"}));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(SearchTest, NeverSearchesTheSubject) {
    add("Budget meeting");

    EXPECT_TRUE((find("budget")).empty());
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(SearchTest, EmptyTextListsEveryMailMessage) {
    add("one");
    add("two");
    add("appointment").itemClass = 26;
    add("no time").receivedTime = {};

    EXPECT_EQ(find(""), (Strings{"one", "two", "no time"}));
}

TEST_F(SearchTest, MatchesTheDateTextAsTheDateColumnShowsIt) {
    add("2021 mail").receivedTime = {2021, 6, 1, 10, 0, 0};
    add("2022 mail").receivedTime = {2022, 6, 1, 10, 0, 0};
    add("body names the year").body = "planned for 2021";
    add("midnight").receivedTime = {2022, 6, 1, 0, 0, 0};
    add("no time").receivedTime = {};

    EXPECT_EQ(find("2021"), (Strings{"2021 mail", "body names the year"}));
    EXPECT_EQ(find("10:00:00 am"), (Strings{"2021 mail", "2022 mail"}));
    EXPECT_TRUE((find("12:00:00 AM")).empty());
    EXPECT_TRUE((find("1899")).empty());
}

TEST_F(SearchTest, MatchesExchangeAddressesButOnlyFromVersion10) {
    MemoryItem &exchange = add("exchange");
    exchange.senderEmailType = "EX";
    exchange.senderEmailAddress = "/O=ORG/CN=JSMITH";

    EXPECT_EQ(find("jsmith"), (Strings{"exchange"}));
    EXPECT_EQ(column(6), (Strings{""}));

    test.outlook.version = "9.0";
    EXPECT_TRUE((find("jsmith")).empty());
}

TEST_F(SearchTest, TextIsOneSubstringBlanksIncluded) {
    add("name").senderName = "John Smith";

    EXPECT_EQ(find("john smith"), (Strings{"name"}));
    EXPECT_TRUE((find("smith john")).empty());
    EXPECT_EQ(find("john "), (Strings{"name"}));
    EXPECT_TRUE((find(" john")).empty());
}

TEST_F(SearchTest, StopsReadingAtTheFirstMatch) {
    MemoryItem &item = add("body matches");
    item.body = "needle";
    item.failing = {"SenderName", "SenderEmailAddress", "ReceivedTime"};

    EXPECT_EQ(find("needle"), (Strings{"body matches"}));
    // Only the cells of the row itself fail to read: Date, From/To and Email.
    ASSERT_EQ(test.reports().size(), 3u);
    EXPECT_TRUE(HasText(test.reports()[0], "at line 128"));
    EXPECT_TRUE(HasText(test.reports()[1], "at line 130"));
    EXPECT_TRUE(HasText(test.reports()[2], "at line 134"));
}

TEST_F(SearchTest, MessageWhoseFilterCannotBeTestedIsListed) {
    add("body unreadable").failing = {"Body"};
    add("plain");

    EXPECT_EQ(find("zzz"), (Strings{"body unreadable"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "GetMailItems at line 120"));
}

TEST_F(SearchTest, ReadsTheSearchTextAfreshForEveryMessage) {
    add("first").senderName = "alpha";
    add("second").senderName = "beta";
    test.events.onEvents = [&] {
        if (ListView1.rowCount() == 1)
            Text1.setText("beta");
    };

    EXPECT_EQ(find("alpha"), (Strings{"first", "second"}));
}

TEST_F(SearchTest, GetEmailsAfterFindListsEverythingAgain) {
    add("one").senderName = "alpha";
    add("two").senderName = "beta";
    find("alpha");

    ListView1.clear();
    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"one", "two"}));
}

} // namespace
} // namespace qb::test
