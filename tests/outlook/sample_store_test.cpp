#include "listing_fixture.h"
#include "pst/pff_mail_store.h"
#include "support/made_store.h"
#include "support/sample_files.h"

#include <algorithm>
#include <map>
#include <utility>

namespace qb::test {
namespace {

/// The PST source over data files read through libpff with an empty profile.
class PstSourceListingTest : public ListingTest {
  protected:
    PstSourceListingTest() { Option4.setValue(true); }

    void listFile(const std::string &path) {
        Text2.setText(path);
        pffListing.listMessages();
    }

    TempFolder profileFolder;
    TempFolder files;
    PffMailStoreLayer pffLayer{profileFolder.path()};
    Platform pffPlatform = test.withMailStores(pffLayer);
    outlook::OutlookListing pffListing{outlook::ListingFacilitiesOf(pffPlatform),
                                       {window, Text1, Text2, Option3, Option4, ListView1}};
};

/// Rows per Folder and Subfolder cell.
std::map<std::pair<std::string, std::string>, int> RowsPerFolder(const std::vector<Strings> &rows) {
    std::map<std::pair<std::string, std::string>, int> counts;
    for (const auto &row : rows)
        ++counts[{row[1], row[2]}];
    return counts;
}

TEST_F(PstSourceListingTest, ListsTheMailOfTheMadeStoreAndDetachesIt) {
    WriteMadeStore(files / "made.pst");
    listFile(files / "made.pst");

    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    // Only mail, below the top folder: not its own two messages, not the Inbox's appointment
    // and contact, nothing of Calendar and Contacts.
    EXPECT_EQ(RowsPerFolder(rows()), (std::map<std::pair<std::string, std::string>, int>{
                                         {{"Deleted Items", ""}, 2},
                                         {{"Inbox", ""}, 20},
                                         {{"Sent Items", ""}, 4},
                                         {{"Projekte Ærø", ""}, 4},
                                         {{"Projekte Ærø", "2024 – Über"}, 2},
                                         {{"Projekte Ærø", "Inbox"}, 2},
                                         {{"Архив 日本", ""}, 4}}));
    const Strings ids = column(9);
    EXPECT_TRUE(
        std::none_of(ids.begin(), ids.end(), [](const std::string &id) { return id.empty(); }));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");

    // Detached again: a second listing attaches it anew and lists the same rows.
    ListView1.clear();
    listFile(files / "made.pst");
    EXPECT_EQ(ListView1.rowCount(), 38);
}

TEST_F(PstSourceListingTest, DamagedProfileStoresDoNotHinderTheChosenFile) {
    WriteMadeStore(files / "made.pst");
    profileFolder.write("damaged.pst", std::string(8192, 'x'));
    profileFolder.write("empty.ost", "");

    listFile(files / "made.pst");
    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    EXPECT_EQ(ListView1.rowCount(), 38);

    // Only message 2 has these words, in a body that is RTF alone.
    Text1.setText("NACHRICHT 2:");
    pffListing.findMessages();
    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    EXPECT_EQ(subjects(), Strings{"Предложение по проекту #2"});
}

/// The offline store from outside, which keeps its personal folders under "Root - Mailbox".
class SampleOfflineStoreListingTest : public PstSourceListingTest {};

TEST_F(SampleOfflineStoreListingTest, ListsItsPersonalFoldersByTheirOwnNames) {
    const std::string samples = RequireSamples();
    if (samples.empty())
        return;
    listFile(samples + "/offline-store.ost");

    EXPECT_TRUE(test.reports().empty()) << test.reports().front();
    const Strings roots = column(1);
    EXPECT_EQ(std::count(roots.begin(), roots.end(), "offline-store"), ListView1.rowCount());
    const auto counts = RowsPerFolder(rows());
    EXPECT_EQ((counts.at({"Inbox", ""})), 10);
    EXPECT_EQ((counts.at({"Inbox", "sub1"})), 25);
    EXPECT_EQ((counts.at({"Inbox", "sub2"})), 29);
    const Strings folders = column(2);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Sent Items"), 6);
    EXPECT_EQ(std::count(folders.begin(), folders.end(), "Root - Mailbox"), 0);
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
