#include "listing_fixture.h"
#include "pst/pff_mail_store.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qb::test {
namespace {

/// The PST source over a real data file, read through libpff with an empty profile.
class SampleStoreListingTest : public ListingTest {
  protected:
    void SetUp() override {
        if (SamplesFolder().empty())
            GTEST_SKIP() << "the sample stores are not present";
        Option4.setValue(true);
    }

    void listFile(const std::string &fileName) {
        Text2.setText(SamplesFolder() + "/" + fileName);
        pffListing.listMessages();
    }

    TempFolder profileFolder;
    PffMailStoreLayer pffLayer{profileFolder.path()};
    Platform pffPlatform = test.withMailStores(pffLayer);
    outlook::OutlookListing pffListing{outlook::ListingFacilitiesOf(pffPlatform),
                                       {window, Text1, Text2, Option3, Option4, ListView1}};
};

TEST_F(SampleStoreListingTest, ListsTheMailOfTheEnglishStoreAndDetachesIt) {
    listFile("english-store.pst");

    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    const Strings folders = column(2);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Inbox"), 8);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Sent Items"), 6);
    EXPECT_EQ(ListView1.rowCount(), 14);
    const Strings ids = column(9);
    EXPECT_TRUE(
        std::none_of(ids.begin(), ids.end(), [](const std::string &id) { return id.empty(); }));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");

    // Detached again: a second listing attaches it anew and lists the same rows.
    ListView1.clear();
    listFile("english-store.pst");
    EXPECT_EQ(ListView1.rowCount(), 14);
}

TEST_F(SampleStoreListingTest, ListsOnlyMailOfThePortugueseStore) {
    listFile("portuguese-store.pst");

    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    const Strings folders = column(2);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Caixa de Entrada"), 3);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Itens Enviados"), 1);
    EXPECT_EQ(ListView1.rowCount(), 4);
}

TEST_F(SampleStoreListingTest, OfflineStoreListsItsPersonalFoldersByTheirOwnNames) {
    listFile("offline-store.ost");

    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    std::map<std::pair<std::string, std::string>, int> rowsPerFolder;
    for (const auto &row : rows()) {
        EXPECT_EQ(row[0], "offline-store");
        ++rowsPerFolder[{row[1], row[2]}];
    }
    EXPECT_EQ((rowsPerFolder[{"Inbox", ""}]), 10);
    EXPECT_EQ((rowsPerFolder[{"Inbox", "sub1"}]), 25);
    EXPECT_EQ((rowsPerFolder[{"Inbox", "sub2"}]), 29);
    const Strings folders = column(2);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Inbox"), 64);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Sent Items"), 6);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Root - Mailbox"), 0);
}

TEST_F(SampleStoreListingTest, DamagedProfileStoresDoNotHinderTheChosenFile) {
    profileFolder.write("damaged.pst", std::string(8192, 'x'));
    profileFolder.write("empty.ost", "");

    listFile("english-store.pst");
    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    EXPECT_EQ(ListView1.rowCount(), 14);

    Text1.setText("microsoft office");
    pffListing.findMessages();
    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    EXPECT_EQ(column(5), Strings{"Microsoft Office Outlook"});
}

// The memory store layer stands in where a real file cannot fail the way a test needs.
TEST_F(ListingTest, RootWhoseNameCannotBeReadLeavesItsRootCellsEmpty) {
    test.outlook.addProfileStore("First").add("Inbox").add(Mail("first"));
    MemoryFolder &second = test.outlook.addProfileStore("Second");
    second.failing = {"name"};
    second.add("Inbox").add(Mail("second"));

    listing.listMessages();

    EXPECT_EQ(column(1), (Strings{"First", ""}));
    EXPECT_EQ(subjects(), (Strings{"first", "second"}));
    EXPECT_EQ(test.reports().size(), 1u);
}

} // namespace
} // namespace qb::test
