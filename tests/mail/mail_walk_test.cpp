// The folder walk that the window's listing and the command line's export share, over the
// memory mail store: which folders and messages it walks, in which order, in either scope, and
// what it reports when a part of the store cannot be read.
#include "mail/mail_walk.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <set>

namespace qb::test {
namespace {

using Strings = std::vector<std::string>;

/// Passes when text contains part.
::testing::AssertionResult HasText(const std::string &text, const std::string &part) {
    if (text.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << part << "\" is not in \"" << text << "\"";
}

MemoryItem Mail(const std::string &subject, int itemClass = outlook::olMail) {
    MemoryItem item;
    item.subject = subject;
    item.itemClass = itemClass;
    return item;
}

/// The window's scope, and the command line's with and without a folder name.
mail::WalkScope WindowScope() {
    return {};
}

mail::WalkScope CommandLineScope(std::optional<std::string> folderName = std::nullopt) {
    mail::WalkScope scope;
    scope.topFolderMail = mail::TopFolderMail::Taken;
    scope.folderName = std::move(folderName);
    scope.takenMeans = "written";
    return scope;
}

/// Walks every store of the memory profile and keeps what the walk hands on.
class MailWalkTest : public ::testing::Test, protected mail::MessageTaker {
  protected:
    /// The subjects of the messages taken, in the order they were taken.
    Strings walk(mail::WalkScope scope) {
        subjects.clear();
        const auto mapi = test.outlook.createApplication()->GetNamespace("MAPI");
        const auto roots = mapi->folders();
        mail::MailWalk walker({test.platform.reporter, test.events}, std::move(scope), *this);
        for (int i = 1; i <= roots->count(); ++i) {
            const auto root = roots->item(i);
            walker.walkStore(root, root->name());
        }
        return subjects;
    }

    TestPlatform test;
    Strings subjects;
    /// Where each message was taken: the level-1 folder and the folder path.
    Strings takenAt;
    /// The level-1 folders entered, in order.
    Strings tops;

  private:
    void enteredTopFolder(const std::string &name) override { tops.push_back(name); }
    void take(Guard &, const mail::WalkPlace &place, outlook::Folder &,
              outlook::Item &item) override {
        subjects.push_back(item.Subject());
        takenAt.push_back(place.topFolder() + " | " + place.folderPath());
    }
};

/// A store with mail at every depth, in its top folder, in the folders no walk goes into, and
/// items of other classes beside it.
class StoreOfEveryKind : public MailWalkTest {
  protected:
    StoreOfEveryKind() {
        MemoryFolder &root = test.outlook.addProfileStore("Personal Folders");
        root.add(Mail("in the top folder"));
        MemoryFolder &inbox = root.add("Inbox");
        inbox.add(Mail("inbox 1"));
        for (int itemClass : {26, 40, 48, 53, 46, 0})
            inbox.add(Mail("class " + std::to_string(itemClass), itemClass));
        inbox.add(Mail("inbox 2"));
        MemoryFolder &projects = inbox.add("Projects");
        projects.add(Mail("projects"));
        projects.add("2020").add(Mail("2020"));
        inbox.add("Inbox").add(Mail("inbox in inbox"));
        MemoryFolder &news = root.add("Internet Newsgroups");
        news.add(Mail("directly in news"));
        news.add("comp.lang").add(Mail("below news"));
        root.add("All Public Folders").add("Team").add(Mail("below public"));
        root.add("all public folders").add("Team").add(Mail("below lower-case public"));
        root.add("Sent Items").add(Mail("sent"));
    }
};

TEST_F(StoreOfEveryKind, ScopesTakeTheirMessagesInPostOrder) {
    // Subfolders come before their folder's own messages; the messages directly in a skipped
    // folder are walked by its parent, nothing below it.
    const Strings belowTheTop{"2020",    "projects",         "inbox in inbox",          "inbox 1",
                              "inbox 2", "directly in news", "below lower-case public", "sent"};
    Strings withTheTop = belowTheTop;
    withTheTop.push_back("in the top folder");
    const struct {
        const char *name;
        mail::WalkScope scope;
        Strings taken;
    } cases[] = {
        {"window", WindowScope(), belowTheTop},
        {"command line", CommandLineScope(), withTheTop},
        // A folder name takes the messages below a level-1 folder of that name and those of
        // every folder of that name, letter case counting.
        {"folder Inbox",
         CommandLineScope("Inbox"),
         {"2020", "projects", "inbox in inbox", "inbox 1", "inbox 2"}},
        {"folder 2020", CommandLineScope("2020"), {"2020"}},
        {"folder inbox", CommandLineScope("inbox"), {}},
        {"folder of the top", CommandLineScope("Personal Folders"), {"in the top folder"}},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        EXPECT_EQ(walk(each.scope), each.taken);
        EXPECT_TRUE(test.reports().empty());
    }
}

TEST_F(StoreOfEveryKind, PlaceNamesTheLevelOneFolderAndThePath) {
    walk(CommandLineScope());

    EXPECT_EQ(takenAt.front(), "Inbox | Inbox/Projects/2020");
    EXPECT_EQ(takenAt.at(2), "Inbox | Inbox/Inbox");
    EXPECT_EQ(takenAt.back(), " | ");
    EXPECT_EQ(tops, (Strings{"Inbox", "Internet Newsgroups", "All Public Folders",
                             "all public folders", "Sent Items"}));
}

TEST_F(MailWalkTest, StoreTopNamedInternetNewsgroupsOrWithoutSubfoldersYieldsNothing) {
    test.outlook.addProfileStore("Internet Newsgroups").add("group").add(Mail("news"));
    test.outlook.addProfileStore("Empty").add(Mail("in the top folder"));

    EXPECT_EQ(walk(WindowScope()), Strings{});
    EXPECT_EQ(test.events.processed, 0);
    EXPECT_EQ(walk(CommandLineScope()), Strings{"in the top folder"});
}

TEST_F(MailWalkTest, YieldsBeforeEachFolderAndItem) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.add("Inbox").add(Mail("one"));
    root.add("Sent Items").add(Mail("two"));

    walk(WindowScope());

    EXPECT_EQ(test.events.processed, 4); // two folders, two items
}

TEST_F(MailWalkTest, StopsAfterTheCurrentMessage) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    MemoryFolder &inbox = root.add("Inbox");
    for (const char *subject : {"one", "two", "three"})
        inbox.add(Mail(subject));
    root.add("Sent Items").add(Mail("sent"));
    root.add(Mail("in the top folder"));
    mail::WalkScope scope = CommandLineScope();
    scope.stopRequested = [&] { return subjects.size() == 2; };

    EXPECT_EQ(walk(scope), (Strings{"one", "two"}));
    EXPECT_EQ(test.events.processed, 3); // nothing is read after the stop
}

TEST_F(MailWalkTest, SearchIsAskedForEachMessageWhileItIsOn) {
    MemoryFolder &inbox = test.outlook.addProfileStore("Store").add("Inbox");
    for (const char *subject : {"keep", "drop", "keep too", "after"})
        inbox.add(Mail(subject));
    bool searching = true;
    mail::WalkScope scope = WindowScope();
    scope.search = mail::MessageSearch{[&] { return searching; },
                                       [&](outlook::Item &item) {
                                           if (item.Subject() == "keep too")
                                               searching = false;
                                           return item.Subject().starts_with("keep");
                                       }};

    EXPECT_EQ(walk(scope), (Strings{"keep", "keep too", "after"}));
}

// Failures: each is reported as the window's folder walk, with its line and the folder count of
// the folder being walked, and the walk goes on as the failure leaves it.

TEST_F(MailWalkTest, FailuresAreReportedAtTheirLinesAndTheWalkGoesOn) {
    const struct {
        const char *name;
        std::function<void(MemoryFolder &root)> damage;
        Strings taken;
        int line;
        int folderCount; // of the folder whose walk reports
    } cases[] = {
        {"a folder whose name cannot be tested is walked",
         [](MemoryFolder &root) {
             MemoryFolder &news = root.add("Internet Newsgroups");
             news.failing = {"defaultValue"};
             news.add("group").add(Mail("walked anyway"));
         },
         {"walked anyway", "sent"},
         100,
         1},
        {"unreadable items go on with the next folder",
         [](MemoryFolder &root) {
             MemoryFolder &inbox = root.add("Inbox");
             inbox.failing = {"Items"};
             inbox.add(Mail("hidden"));
         },
         {"sent"},
         112,
         2},
        // The child's report cannot be built, so its parent reports the call and goes on with
        // the child's own messages.
        {"an unreadable folder count reaches the parent walk",
         [](MemoryFolder &root) {
             MemoryFolder &inbox = root.add("Inbox");
             inbox.failing = {"Folders.count"};
             inbox.add("Below").add(Mail("below"));
             inbox.add(Mail("in inbox"));
         },
         {"in inbox", "sent"},
         110,
         2},
        {"an item whose class alone cannot be read is taken as mail",
         [](MemoryFolder &root) {
             MemoryItem appointment = Mail("unreadable class", 26);
             appointment.failing = {"Class", "SenderName"};
             root.add("Calendar").add(appointment);
         },
         {"unreadable class", "sent"},
         118,
         2},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        test.outlook.profile.clear();
        test.messageBoxes.shown.clear();
        MemoryFolder &root = test.outlook.addProfileStore("Store");
        each.damage(root);
        root.add("Sent Items").add(Mail("sent"));

        EXPECT_EQ(walk(WindowScope()), each.taken);
        const Strings reports = test.reports();
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_TRUE(HasText(reports[0], "in Ferndock2021/08/31.Form1.GetMailItems at line " +
                                            std::to_string(each.line)));
        EXPECT_TRUE(
            HasText(reports[0], "\r\npFld.Folders.count: " + std::to_string(each.folderCount)));
    }
}

TEST_F(MailWalkTest, UnreadableTopFolderCountReachesTheCaller) {
    MemoryFolder &root = test.outlook.addProfileStore("Store");
    root.failing = {"Folders.count"};
    root.add("Inbox").add(Mail("unreached"));
    mail::MailWalk walker({test.platform.reporter, test.events}, WindowScope(), *this);

    const auto top = test.outlook.createApplication()->GetNamespace("MAPI")->folders()->item(1);
    EXPECT_THROW(walker.walkStore(top, "Store"), Failure);
    EXPECT_TRUE(subjects.empty());
}

TEST_F(MailWalkTest, ItemsThatCannotBeReadAtAllAreCountedOncePerStore) {
    MemoryItem unreadable = Mail("never shown", 40);
    unreadable.failing = {"Class", "Subject",     "SenderName",         "ReceivedTime",
                          "Body",  "Attachments", "SenderEmailAddress", "SenderEmailType"};
    MemoryFolder &archive = test.outlook.addProfileStore("Archive");
    MemoryFolder &contacts = archive.add("Contacts");
    contacts.add("Old").add(unreadable);
    for (int i = 0; i < 11; ++i)
        contacts.add(unreadable);
    contacts.add(Mail("readable"));
    archive.add("Inbox").add(Mail("inbox mail"));
    archive.add(unreadable);
    MemoryFolder &mailbox = test.outlook.addProfileStore("Mailbox").add("Inbox");
    mailbox.add(Mail("mailbox mail"));
    mailbox.add(unreadable);
    test.outlook.addProfileStore("Clean").add("Inbox").add(Mail("clean mail"));

    EXPECT_EQ(walk(WindowScope()),
              (Strings{"readable", "inbox mail", "mailbox mail", "clean mail"}));
    auto reports = test.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(HasText(reports[0], "12 items of the store \"Archive\" could not be read and are "
                                    "not listed: Contacts/Old, item 1; Contacts, item 1; "
                                    "Contacts, item 2 and 9 more. The first failed with: The "
                                    "property \"Class\" is unknown."));
    EXPECT_TRUE(HasText(reports[0], "in Ferndock2021/08/31.Form1.GetMailItems at line 144"));
    EXPECT_TRUE(HasText(reports[0], "pFld.Folders.count: 2"));
    EXPECT_TRUE(HasText(reports[1], "1 item of the store \"Mailbox\" could not be read and is "
                                    "not listed: Inbox, item 2. The first"));

    // The command line's walk counts the one in the top folder too.
    test.messageBoxes.shown.clear();
    walk(CommandLineScope());
    reports = test.reports();
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_TRUE(HasText(reports[0], "13 items of the store \"Archive\" could not be read and are "
                                    "not written"));
}

} // namespace
} // namespace qb::test
