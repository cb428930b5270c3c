#include "listing_fixture.h"

#include <algorithm>

namespace qb::test {
namespace {

class ListingButtonsTest : public ListingTest {
  protected:
    /// A list that holds one row from an earlier listing.
    void fillEarlierRow() { ListView1.addRow({"earlier", "Inbox"}); }

    /// Chooses the PST source with a real file of that name in the scratch folder.
    std::string choosePstFile(const std::string &name) {
        test.folder.write(name, "pst");
        Option4.setValue(true);
        Text2.setText(test.folder / name);
        return test.folder / name;
    }
};

TEST_F(ListingButtonsTest, GetEmailsWithoutOutlookShowsOnlyTheMessage) {
    test.outlook.unavailable = true;
    fillEarlierRow();

    listing.listMessages();

    EXPECT_EQ(test.messageBoxes.texts(),
              (Strings{"MS Outlook does not appear to be installed on this computer."}));
    EXPECT_EQ(test.messageBoxes.shown[0].title, "Quillbarrow");
    EXPECT_EQ(ListView1.rowCount(), 1);
    EXPECT_TRUE((test.clock.sleeps).empty());
}

TEST_F(ListingButtonsTest, PstChecksStopBothActionsAndKeepTheRows) {
    struct Case {
        std::string text2;
        std::string message;
    };
    test.folder.write(".hidden.pst", "pst");
    const std::vector<Case> cases = {
        {"", "You forgot to input PST File."},
        {"   ", "You forgot to input PST File."},
        {test.folder / "missing.pst", "PST File not found."},
        {test.folder / ".hidden.pst", "PST File not found."},
        {test.folder.path(), "PST File not found."},
    };
    Option4.setValue(true);
    fillEarlierRow();
    for (const Case &c : cases) {
        Text2.setText(c.text2);
        for (auto click :
             {&outlook::OutlookListing::listMessages, &outlook::OutlookListing::findMessages}) {
            test.messageBoxes.shown.clear();
            (listing.*click)();
            EXPECT_EQ(test.messageBoxes.texts(), (Strings{c.message})) << c.text2;
        }
    }
    EXPECT_EQ(ListView1.rowCount(), 1);
    EXPECT_EQ(test.outlook.applicationsAlive, 0);
}

TEST_F(ListingButtonsTest, FindMakesNoOutlookCheck) {
    test.outlook.unavailable = true;
    Text1.setText("no such text");

    listing.findMessages();

    // The listing itself fails without Outlook, reports each step and still ends.
    const auto texts = test.messageBoxes.texts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(),
                         "MS Outlook does not appear to be installed on this computer."),
              0);
    EXPECT_EQ(texts.back(), "Done.");
    ASSERT_FALSE(test.reports().empty());
    EXPECT_TRUE(HasText(test.reports()[0], "Form1.getAllEmailOutlook at line 104"));
    EXPECT_EQ(window.pointer(), MousePointer::Default);

    // The failed Find left search mode, so the next listing lists everything.
    test.outlook.unavailable = false;
    test.outlook.addProfileStore("Store").add("Inbox").add(Mail("a"));
    listing.listMessages();
    EXPECT_EQ(subjects(), (Strings{"a"}));
}

TEST_F(ListingButtonsTest, ProfileSourceIgnoresText2AndListsStoresInOrder) {
    Text2.setText("");
    test.outlook.addProfileStore("Mailbox").add("Inbox").add(Mail("a"));
    test.outlook.addProfileStore("Archive").add("Inbox").add(Mail("b"));
    test.outlook.addProfileStore("Old Mail").add("Inbox").add(Mail("c"));
    fillEarlierRow();

    listing.listMessages();

    EXPECT_EQ(column(1), (Strings{"Mailbox", "Archive", "Old Mail"}));
    EXPECT_EQ(test.messageBoxes.texts(), (Strings{"Done."}));
    EXPECT_EQ(test.outlook.applicationsAlive, 0);
}

TEST_F(ListingButtonsTest, ListingWithoutMessagesStillEndsWithDone) {
    window.setPointer(MousePointer::Custom);

    listing.listMessages();

    EXPECT_EQ(ListView1.rowCount(), 0);
    EXPECT_EQ(test.messageBoxes.texts(), (Strings{"Done."}));
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(ListingButtonsTest, ListingShowsTheBusyPointerWhileItRuns) {
    test.outlook.addProfileStore("Store").add("Inbox").add(Mail("a"));
    std::vector<MousePointer> seen;
    test.events.onEvents = [&] { seen.push_back(window.pointer()); };

    listing.listMessages();

    EXPECT_EQ(std::count(seen.begin(), seen.end(), MousePointer::Busy), 3);
    EXPECT_EQ(window.pointer(), MousePointer::Default);
}

TEST_F(ListingButtonsTest, PstSourceAttachesListsAndDetachesTheFile) {
    test.outlook.addProfileStore("Mailbox").add("Inbox").add(Mail("profile mail"));
    const std::string path = choosePstFile("archive.pst");
    test.outlook.addStoreFile(path, "Archive").add("Inbox").add(Mail("archived"));

    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"archived"}));
    EXPECT_EQ(column(1), (Strings{"Archive"}));
    EXPECT_EQ(test.outlook.calls, (Strings{"AddStore " + path, "RemoveStore Archive"}));
    EXPECT_EQ(test.outlook.profile.size(), 1u);
    EXPECT_EQ(test.messageBoxes.texts(), (Strings{"Done."}));
}

TEST_F(ListingButtonsTest, PstSourcePassesText2Untrimmed) {
    const std::string path = choosePstFile("archive.pst");
    test.outlook.addStoreFile(path, "Archive");
    Text2.setText(path + " ");

    listing.listMessages();

    // The file lookup does not trim either, so the padded path is not found.
    EXPECT_EQ(test.messageBoxes.texts(), (Strings{"PST File not found."}));
    EXPECT_TRUE((test.outlook.calls).empty());
}

TEST_F(ListingButtonsTest, FileThatIsAlreadyInTheProfileIsListedButNeverDetached) {
    const std::string path = choosePstFile("mailbox.pst");
    test.outlook.addProfileStore("Mailbox", path).add("Inbox").add(Mail("own mail"));
    test.outlook.files[path] = test.outlook.profile.back(); // attaching it again changes nothing
    test.outlook.addProfileStore("Other").add("Inbox").add(Mail("other mail"));

    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"own mail"}));
    EXPECT_EQ(test.outlook.calls, (Strings{"AddStore " + path}));
    EXPECT_EQ(test.outlook.profile.size(), 2u);
    EXPECT_TRUE((test.reports()).empty());
}

TEST_F(ListingButtonsTest, FileNamedByAnotherSpellingIsFoundAndDetached) {
    const std::string path = choosePstFile("archive.pst");
    test.outlook.addStoreFile(path, "Archive").add("Inbox").add(Mail("archived"));
    test.outlook.files[test.folder.path() + "/./archive.pst"] = test.outlook.files[path];
    test.outlook.addProfileStore("Mailbox").add("Inbox").add(Mail("profile mail"));
    Text2.setText(test.folder.path() + "/./archive.pst");

    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"archived"}));
    EXPECT_EQ(test.outlook.calls.back(), "RemoveStore Archive");
    EXPECT_EQ(test.outlook.profile.size(), 1u);
}

TEST_F(ListingButtonsTest, RefusedAttachIsReportedOnceAndDetachesNothing) {
    test.outlook.addProfileStore("Mailbox").add("Inbox").add(Mail("profile mail"));
    const std::string path = choosePstFile("damaged.pst"); // a file the store layer cannot open

    listing.listMessages();

    EXPECT_EQ(ListView1.rowCount(), 0);
    EXPECT_EQ(test.outlook.calls, (Strings{"AddStore " + path}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "Form1.getAllEmailOutlook at line 126"));
    EXPECT_EQ(test.messageBoxes.texts().back(), "Done.");
}

TEST_F(ListingButtonsTest, UnreadableStoreIsReportedAndTheNextStoreListed) {
    MemoryFolder &first = test.outlook.addProfileStore("First");
    first.failing = {"name"};
    first.add("Inbox").add(Mail("first"));
    test.outlook.addProfileStore("Second").add("Inbox").add(Mail("second"));

    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"first", "second"}));
    EXPECT_EQ(column(1), (Strings{"", "Second"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "getAllEmailOutlook at line 120"));
}

TEST_F(ListingButtonsTest, UnreadableVersionIsReportedAndTheListingGoesOn) {
    test.outlook.version = "unknown";
    test.outlook.addProfileStore("Store").add("Inbox").add(Mail("a"));

    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"a"}));
    ASSERT_EQ(test.reports().size(), 1u);
    EXPECT_TRUE(HasText(test.reports()[0], "getAllEmailOutlook at line 106"));
}

TEST_F(ListingButtonsTest, SecondListingStartedFromAYieldDoesNotDisturbTheFirst) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.add("Inbox").add(Mail("one"));
    root.add("Sent Items").add(Mail("two"));
    int nested = 0;
    test.events.onEvents = [&] {
        if (nested++ == 2)
            listing.listMessages(); // clears the list and lists everything again
        else if (nested == 5)
            listing.uncheckAllRows();
    };

    listing.listMessages();

    // The inner listing refilled the list; the outer one then appended what it had left.
    EXPECT_EQ(subjects(), (Strings{"one", "two", "one", "two"}));
    EXPECT_EQ(test.messageBoxes.texts(), (Strings{"Done.", "Done."}));
    EXPECT_EQ(test.outlook.applicationsAlive, 0);
}

TEST_F(ListingButtonsTest, ClearingTheListDuringAListingIsHarmless) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    for (int i = 0; i < 4; ++i)
        inbox.add(Mail("m" + std::to_string(i)));
    test.events.onEvents = [&] {
        if (ListView1.rowCount() == 2)
            ListView1.clear();
    };

    listing.listMessages();

    EXPECT_EQ(subjects(), (Strings{"m2", "m3"}));
}

TEST_F(ListingButtonsTest, SelectAndDeselectAllSetEveryCheckMark) {
    listing.checkAllRows(); // an empty list: nothing happens
    EXPECT_TRUE((test.reports()).empty());

    for (int i = 0; i < 3; ++i)
        ListView1.addRow({"row"});
    listing.checkAllRows();
    EXPECT_TRUE(ListView1.checked(1) && ListView1.checked(2) && ListView1.checked(3));

    ListView1.setChecked(2, false);
    listing.uncheckAllRows();
    EXPECT_FALSE(ListView1.checked(1) || ListView1.checked(2) || ListView1.checked(3));
    EXPECT_TRUE((test.reports()).empty());
}

TEST_F(ListingButtonsTest, PstPickerAsksForAPstFileAndKeepsTheTextOnCancel) {
    Text2.setText("/old/path.pst");

    listing.pickPstFile();
    EXPECT_EQ(Text2.text(), "/old/path.pst");

    test.fileDialogs.answers.push_back("/home/user/archive.pst");
    listing.pickPstFile();
    EXPECT_EQ(Text2.text(), "/home/user/archive.pst");

    ASSERT_EQ(test.fileDialogs.opened.size(), 2u);
    const FileDialogRequest &request = test.fileDialogs.opened[1];
    EXPECT_EQ(request.title, "Select PST File");
    EXPECT_EQ(request.filter, "All PST Files (*.pst)|*.pst|");
    EXPECT_EQ(request.fileName, "");
    EXPECT_FALSE(request.multiSelect);
}

} // namespace
} // namespace qb::test
