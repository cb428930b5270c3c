// The libpff mail store over stores the store maker writes, and over the offline store from
// outside.
#include "failure/failure.h"
#include "pst/pff_children.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_mail_store.h"
#include "support/fakes.h"
#include "support/made_store.h"
#include "support/sample_files.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace qb {
namespace {

using outlook::Folder;
using outlook::Item;
using outlook::Namespace;

std::vector<std::shared_ptr<Item>> ItemsOf(Folder &folder) {
    std::vector<std::shared_ptr<Item>> items;
    auto contents = folder.items();
    const int count = contents->count();
    for (int i = 1; i <= count; ++i)
        items.push_back(contents->item(i));
    return items;
}

std::vector<std::string> ChildNames(Folder &folder) {
    std::vector<std::string> names;
    auto children = folder.folders();
    for (int i = 1; i <= children->count(); ++i)
        names.push_back(children->item(i)->name());
    return names;
}

std::shared_ptr<Folder> ChildNamed(Folder &folder, const std::string &name) {
    auto children = folder.folders();
    for (int i = 1; i <= children->count(); ++i)
        if (auto child = children->item(i); child->name() == name)
            return child;
    return nullptr;
}

/// Item classes counted per folder path below the root ("" is the root itself).
std::map<std::string, std::map<int, int>> ClassesPerFolder(Folder &root) {
    std::map<std::string, std::map<int, int>> classes;
    const std::function<void(Folder &, const std::string &)> visit = [&](Folder &folder,
                                                                         const std::string &path) {
        for (const auto &item : ItemsOf(folder))
            ++classes[path][item->Class()];
        auto children = folder.folders();
        for (int i = 1; i <= children->count(); ++i) {
            auto child = children->item(i);
            visit(*child, path.empty() ? child->name() : path + "/" + child->name());
        }
    };
    visit(root, "");
    return classes;
}

/// An empty profile and the made store beside it, attached as the PST source does it.
class StoreLayer : public ::testing::Test {
  protected:
    void SetUp() override { test::WriteMadeStore(madeStore); }

    std::shared_ptr<Folder> attach(const std::string &path) {
        mapi->AddStore(path);
        return mapi->folders()->GetLast();
    }

    test::TempFolder folder;
    const std::string madeStore = folder / "made.pst";
    PffMailStoreLayer layer{folder / "empty profile"};
    std::shared_ptr<outlook::Application> application = layer.createApplication();
    std::shared_ptr<Namespace> mapi = application->GetNamespace("MAPI");
};

TEST_F(StoreLayer, RootIsTheTopOfPersonalFoldersNamedAfterTheStore) {
    auto made = attach(madeStore);
    EXPECT_EQ(made->name(), "Beispiel-Postfach ✉");
    EXPECT_EQ(made->defaultValue(), "Beispiel-Postfach ✉");
    EXPECT_EQ(made->storeFilePath(), madeStore);
    EXPECT_EQ(ChildNames(*made),
              (std::vector<std::string>{"Deleted Items", "Inbox", "Sent Items", "Outbox",
                                        "Projekte Ærø", "Архив 日本", "Calendar", "Contacts"}));

    // A store without a display name is named after its file.
    test::WriteOneMessageStore(folder / "Archiv 2019.pst", "", "Alt");
    auto unnamed = attach(folder / "Archiv 2019.pst");
    EXPECT_EQ(unnamed->name(), "Archiv 2019");
    EXPECT_EQ(ChildNames(*unnamed), (std::vector<std::string>{"Deleted Items", "Inbox"}));
    EXPECT_EQ(mapi->folders()->count(), 2);
}

TEST_F(StoreLayer, FailuresNameItemsByFolderPathAndSubject) {
    auto file = PffFile::open(madeStore, 1);
    auto root = file->rootFolder();
    auto inbox = PffChildren(root, pffSubfolders).item(2);
    auto projects = PffChildren(root, pffSubfolders).item(5);
    auto message = PffChildren(inbox, pffMessages).item(4);
    EXPECT_EQ(root->description(), "the root folder");
    EXPECT_EQ(PffChildren(projects, pffSubfolders).item(1)->description(),
              "folder \"Projekte Ærø/2024 – Über\"");
    EXPECT_EQ(PffChildren(message, pffAttachments).item(1)->description(),
              "an attachment of message \"会議の議事録 #3\" in folder \"Inbox\"");
    try {
        message->raise(PffError(), "cannot read property 0x0037");
        FAIL() << "raise returned";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.description(), "made.pst: cannot read property 0x0037 of message "
                                         "\"会議の議事録 #3\" in folder \"Inbox\"");
    }
}

TEST_F(StoreLayer, EveryFolderHoldsItsItemsOfTheirOwnClass) {
    auto root = attach(madeStore);
    const std::map<std::string, std::map<int, int>> expected = {
        {"", {{outlook::olMail, 2}}},
        {"Inbox", {{outlook::olMail, 20}, {outlook::olAppointment, 1}, {outlook::olContact, 1}}},
        {"Sent Items", {{outlook::olMail, 4}}},
        {"Deleted Items", {{outlook::olMail, 2}}},
        {"Projekte Ærø", {{outlook::olMail, 4}}},
        {"Projekte Ærø/2024 – Über", {{outlook::olMail, 2}}},
        {"Projekte Ærø/2024 – Über/Inbox", {{outlook::olMail, 2}}},
        {"Архив 日本", {{outlook::olMail, 4}}},
        {"Calendar", {{outlook::olAppointment, 1}}},
        {"Contacts", {{outlook::olContact, 1}}},
    };
    EXPECT_EQ(ClassesPerFolder(*root), expected);

    auto outbox = ChildNamed(*root, "Outbox");
    ASSERT_NE(outbox, nullptr);
    EXPECT_EQ(outbox->items()->count(), 0);
    EXPECT_EQ(outbox->folders()->count(), 0);
}

TEST_F(StoreLayer, MessagePropertiesOfTheInbox) {
    test::UtcLocalTime utc;
    const auto items = ItemsOf(*ChildNamed(*attach(madeStore), "Inbox"));
    ASSERT_EQ(items.size(), 22u);
    std::vector<int> attachments;
    for (const auto &item : items)
        attachments.push_back(item->attachmentCount());
    EXPECT_EQ(attachments,
              (std::vector<int>{0, 0, 0, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0}));

    Item &first = *items.front();
    EXPECT_EQ(first.Subject(), "Quartalsbericht – Übersicht für Jürgen #0");
    EXPECT_EQ(first.SenderName(), "Zoë Ångström");
    EXPECT_EQ(first.SenderEmailType(), "SMTP");
    EXPECT_EQ(first.SenderEmailAddress(), "zoe.angstrom@example.org");
    EXPECT_EQ(first.ReceivedTime(), (LocalDateTime{2024, 1, 1, 0, 0, 0}));
    EXPECT_EQ(items.at(3)->ReceivedTime(), (LocalDateTime{2024, 1, 1, 3, 45, 39}));

    // A subject stored behind its prefix marker, and senders of Exchange.
    EXPECT_EQ(items.at(5)->Subject(), "RE: Café & crème brûlée #5");
    EXPECT_EQ(items.at(1)->SenderEmailType(), "EX");
    EXPECT_EQ(items.at(1)->SenderEmailAddress(),
              "/O=EXAMPLE ORG/OU=EXCHANGE ADMINISTRATIVE GROUP (FYDIBOHF23SPDLT)/CN=RECIPIENTS"
              "/CN=JOSE.GARCIA");
    // An appointment without a sender reads as empty.
    EXPECT_EQ(items.at(20)->Class(), outlook::olAppointment);
    EXPECT_EQ(items.at(20)->SenderName(), "");
}

TEST_F(StoreLayer, BodiesOfEveryKindComeAsTextWithoutMarkup) {
    const auto items = ItemsOf(*ChildNamed(*attach(madeStore), "Inbox"));
    for (const auto &item : items) {
        const std::string body = item->Body();
        for (const char *markup : {"<html", "<p>", "<div", "</", "&nbsp;", "\\rtf", "\\par"})
            EXPECT_EQ(body.find(markup), std::string::npos) << item->Subject() << ": " << markup;
        EXPECT_EQ(body.find('\0'), std::string::npos) << item->Subject();
    }
    // Plain, HTML as bytes, RTF, plain, HTML as text, RTF beside plain.
    for (std::size_t index = 0; index < 6; ++index)
        EXPECT_NE(items.at(index)->Body().find(
                      "Absatz 1 der Nachricht " + std::to_string(index) +
                      ": Grüße aus Köln, ½ Tasse Tee, naïve café. Привет, 世界!"),
                  std::string::npos)
            << "message " << index;
}

TEST_F(StoreLayer, EntryIdResolvesAfterTheStoreWasRemoved) {
    auto root = attach(madeStore);
    const auto items = ItemsOf(*ChildNamed(*root, "Sent Items"));
    ASSERT_EQ(items.size(), 4u);
    std::vector<std::string> ids;
    for (const auto &item : items)
        ids.push_back(item->EntryID());
    mapi->RemoveStore(*root);
    EXPECT_EQ(mapi->folders()->count(), 0);

    // A later connection, as the download makes, still finds every message.
    auto later = layer.createApplication()->GetNamespace("MAPI");
    for (std::size_t i = 0; i < ids.size(); ++i) {
        auto again = later->GetItemFromID(ids[i]);
        EXPECT_EQ(again->Subject(), items[i]->Subject());
        EXPECT_EQ(again->EntryID(), ids[i]);
    }
    EXPECT_EQ(std::set<std::string>(ids.begin(), ids.end()).size(), ids.size());
}

TEST_F(StoreLayer, EntryIdsOfTwoStoresNameTheirOwnStore) {
    test::WriteOneMessageStore(folder / "second.pst", "Zweites Postfach", "Nur im zweiten");
    auto made = ItemsOf(*ChildNamed(*attach(madeStore), "Inbox"));
    auto second = ItemsOf(*ChildNamed(*attach(folder / "second.pst"), "Inbox"));
    EXPECT_NE(made.front()->EntryID(), second.front()->EntryID());
    EXPECT_EQ(mapi->GetItemFromID(second.front()->EntryID())->Subject(), "Nur im zweiten");
    EXPECT_EQ(mapi->GetItemFromID(made.front()->EntryID())->Subject(), made.front()->Subject());
}

TEST_F(StoreLayer, UnknownEntryIdsAreNotFound) {
    attach(madeStore);
    const std::string folderIsNoMessage = "51425046000000010000"
                                          "8082"; // the Deleted Items folder itself
    for (const std::string &id : {std::string("00000000000000000000001"), std::string("garbage"),
                                  std::string("514250460000000900200044"), folderIsNoMessage})
        EXPECT_THROW(mapi->GetItemFromID(id), Failure) << id;
}

TEST_F(StoreLayer, AddingAFileTwiceAddsNothing) {
    attach(madeStore);
    mapi->AddStore(folder / "./made.pst");
    EXPECT_EQ(mapi->folders()->count(), 1);
}

TEST_F(StoreLayer, CollectionsRefuseIndexesOutOfRange) {
    auto root = attach(madeStore);
    auto folders = root->folders();
    EXPECT_THROW(folders->item(0), Failure);
    EXPECT_THROW(folders->item(folders->count() + 1), Failure);
    auto items = ChildNamed(*root, "Inbox")->items();
    EXPECT_THROW(items->item(0), Failure);
    EXPECT_THROW(items->item(23), Failure);
    EXPECT_THROW(mapi->folders()->item(2), Failure);
}

/// The offline store from outside, attached to an empty profile.
class SampleOfflineStore : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string samples = test::RequireSamples();
        if (samples.empty())
            return;
        mapi->AddStore(samples + "/offline-store.ost");
        offline = mapi->folders()->GetLast();
    }

    test::TempFolder emptyProfile;
    PffMailStoreLayer layer{emptyProfile.path()};
    std::shared_ptr<Namespace> mapi = layer.createApplication()->GetNamespace("MAPI");
    std::shared_ptr<Folder> offline;
};

TEST_F(SampleOfflineStore, KeepsItsPersonalFoldersUnderItsMailboxWithoutASubtreeEntry) {
    EXPECT_EQ(offline->name(), "offline-store"); // it has no display name
    EXPECT_EQ(ChildNames(*offline).at(1), "Inbox");
}

TEST(PffApplication, IsVersionSixteenAndOffersOnlyTheMapiNamespace) {
    test::TempFolder profile;
    PffMailStoreLayer layer(profile.path());
    auto application = layer.createApplication();
    EXPECT_EQ(application->Version(), "16.0");
    EXPECT_NE(application->GetNamespace("MAPI"), nullptr);
    EXPECT_THROW(application->GetNamespace("IMAP"), Failure);
    EXPECT_EQ(application->GetNamespace("MAPI")->folders()->GetLast(), nullptr);
}

// Opening a store reads its whole index; the window's events, when given, run meanwhile on this
// thread, and the store and a failure to open it come back the same either way.
TEST(PffApplication, AttachingOpensTheStoreOrNamesTheMissingFileWithOrWithoutWindowEvents) {
    for (const bool withEvents : {false, true}) {
        SCOPED_TRACE(withEvents ? "with window events" : "without");
        test::TempFolder profile;
        test::ScriptedEventPump events;
        PffMailStoreLayer layer(profile.path(), withEvents ? &events : nullptr);
        auto mapi = layer.createApplication()->GetNamespace("MAPI");
        try {
            mapi->AddStore(profile / "absent.pst");
            FAIL() << "attaching a missing file succeeded";
        } catch (const Failure &failure) {
            EXPECT_NE(failure.description().find("absent.pst"), std::string::npos);
            EXPECT_NE(failure.description().find("No such file"), std::string::npos);
        }
        EXPECT_EQ(mapi->folders()->count(), 0);

        test::WriteMadeStore(profile / "made.pst");
        mapi->AddStore(profile / "made.pst");
        EXPECT_EQ(mapi->folders()->count(), 1);
        EXPECT_EQ(events.waits > 0, withEvents);
    }
}

} // namespace
} // namespace qb
