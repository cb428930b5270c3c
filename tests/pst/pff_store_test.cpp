// The libpff mail store against the shared sample stores.
#include "failure/failure.h"
#include "pst/pff_children.h"
#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_mail_store.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace qb {
namespace {

using outlook::Folder;
using outlook::Item;
using outlook::Namespace;

constexpr int olTask = 48;

/// Walks a folder tree depth-first, in the store's order.
void ForEachFolder(Folder &folder, const std::function<void(Folder &)> &visit) {
    visit(folder);
    auto children = folder.folders();
    const int count = children->count();
    for (int i = 1; i <= count; ++i)
        ForEachFolder(*children->item(i), visit);
}

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

/// Item classes counted per folder name over the whole store.
std::map<std::string, std::map<int, int>> ClassesPerFolder(Folder &root) {
    std::map<std::string, std::map<int, int>> classes;
    ForEachFolder(root, [&](Folder &folder) {
        for (const auto &item : ItemsOf(folder))
            ++classes[folder.name()][item->Class()];
    });
    return classes;
}

/// An empty profile with one sample store attached, as the PST source does it.
class SampleStore : public ::testing::Test {
  protected:
    void SetUp() override {
        samples = test::SamplesFolder();
        if (samples.empty())
            GTEST_SKIP() << "the sample stores (../shared/samples) are not there";
    }

    std::shared_ptr<Folder> attach(const std::string &fileName) {
        mapi->AddStore(samples + "/" + fileName);
        return mapi->folders()->GetLast();
    }

    test::TempFolder emptyProfile;
    PffMailStoreLayer layer{emptyProfile.path()};
    std::shared_ptr<outlook::Application> application = layer.createApplication();
    std::shared_ptr<Namespace> mapi = application->GetNamespace("MAPI");
    std::string samples;
};

TEST_F(SampleStore, RootIsTheTopOfPersonalFoldersNamedAfterTheStore) {
    auto english = attach("english-store.pst");
    EXPECT_EQ(english->name(), "Outlook");
    EXPECT_EQ(english->defaultValue(), "Outlook");
    EXPECT_EQ(english->storeFilePath(), samples + "/english-store.pst");
    EXPECT_EQ(ChildNames(*english),
              (std::vector<std::string>{"Deleted Items", "Inbox", "Outbox", "Sent Items",
                                        "Calendar", "Contacts", "Journal", "Notes", "Tasks",
                                        "Drafts", "RSS Feeds", "Junk E-mail"}));

    auto portuguese = attach("portuguese-store.pst");
    EXPECT_EQ(portuguese->name(), "thisisatest");
    const auto names = ChildNames(*portuguese);
    EXPECT_EQ(names.size(), 14u);
    EXPECT_EQ(names.at(0), "Itens Excluídos");
    EXPECT_EQ(names.at(3), "Caixa de Entrada");
    EXPECT_EQ(mapi->folders()->count(), 2);

    // An offline store without a subtree entry keeps its personal folders under its mailbox.
    auto offline = attach("offline-store.ost");
    EXPECT_EQ(offline->name(), "offline-store");
    EXPECT_EQ(ChildNames(*offline).at(1), "Inbox");
}

TEST_F(SampleStore, FailuresNameItemsByFolderPathAndSubject) {
    auto file = PffFile::open(samples + "/english-store.pst", 1);
    auto root = file->rootFolder();
    auto inbox = PffChildren(root, pffSubfolders).item(2);
    auto message = PffChildren(inbox, pffMessages).item(1);
    EXPECT_EQ(root->description(), "the root folder");
    EXPECT_EQ(PffChildren(inbox, pffSubfolders).item(1)->description(),
              "folder \"Inbox/SubInbox\"");
    EXPECT_EQ(PffChildren(message, pffAttachments).item(1)->description(),
              "an attachment of message \"Multiple attachments\" in folder \"Inbox\"");
    try {
        message->raise(PffError(), "cannot read property 0x0037");
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.description(), "english-store.pst: cannot read property 0x0037 of "
                                         "message \"Multiple attachments\" in folder \"Inbox\"");
    }
}

TEST_F(SampleStore, EnglishStoreHoldsFourteenMailMessages) {
    auto classes = ClassesPerFolder(*attach("english-store.pst"));
    EXPECT_EQ(classes["Inbox"], (std::map<int, int>{{outlook::olMail, 8}}));
    EXPECT_EQ(classes["Sent Items"], (std::map<int, int>{{outlook::olMail, 6}}));
    EXPECT_EQ(classes["Calendar"], (std::map<int, int>{{outlook::olAppointment, 1}}));
    EXPECT_EQ(classes["Contacts"], (std::map<int, int>{{outlook::olContact, 1}}));
    EXPECT_FALSE(classes.count("SubInbox"));

    auto root = attach("english-store.pst");
    auto subInbox = ChildNamed(*ChildNamed(*root, "Inbox"), "SubInbox");
    ASSERT_NE(subInbox, nullptr);
    EXPECT_EQ(subInbox->items()->count(), 0);
    EXPECT_EQ(subInbox->folders()->count(), 0);
}

TEST_F(SampleStore, PortugueseStoreCountsOnlyMailAsMail) {
    auto classes = ClassesPerFolder(*attach("portuguese-store.pst"));
    EXPECT_EQ(classes["Caixa de Entrada"], (std::map<int, int>{{outlook::olMail, 3}}));
    EXPECT_EQ(classes["Itens Enviados"], (std::map<int, int>{{outlook::olMail, 1}}));
    EXPECT_EQ(classes["Itens Excluídos"], (std::map<int, int>{{outlook::olAppointment, 4}}));
    EXPECT_EQ(classes["Tarefas"], (std::map<int, int>{{olTask, 2}}));
    EXPECT_EQ(classes["Contatos"], (std::map<int, int>{{outlook::olContact, 1}}));
    int mail = 0;
    for (const auto &[folder, counts] : classes)
        mail += counts.count(outlook::olMail) ? counts.at(outlook::olMail) : 0;
    EXPECT_EQ(mail, 4);
}

TEST_F(SampleStore, MessagePropertiesOfTheInbox) {
    auto inbox = ChildNamed(*attach("english-store.pst"), "Inbox");
    const auto items = ItemsOf(*inbox);
    ASSERT_EQ(items.size(), 8u);
    std::vector<int> attachments;
    for (const auto &item : items)
        attachments.push_back(item->attachmentCount());
    EXPECT_EQ(attachments, (std::vector<int>{3, 12, 2, 0, 0, 0, 0, 0}));

    Item &first = *items.front();
    EXPECT_EQ(first.Subject(), "Multiple attachments");
    EXPECT_EQ(first.SenderName(), "Saqib Razzaq");
    EXPECT_EQ(first.SenderEmailType(), "SMTP");
    EXPECT_EQ(first.SenderEmailAddress(), "saqib.razzaq@xp.local");
    EXPECT_GE(first.ReceivedTime().year, 2000);
    EXPECT_EQ(items.at(6)->SenderName(), "Microsoft Office Outlook");
}

TEST_F(SampleStore, SubjectsLoseTheirPrefixMarkerAndExchangeSendersKeepTheirType) {
    auto deleted = ChildNamed(*attach("portuguese-store.pst"), "Itens Excluídos");
    const auto items = ItemsOf(*deleted);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.front()->Subject(), "Updated: Olympus training for new hires");
    EXPECT_EQ(items.front()->SenderEmailType(), "EX");

    auto inbox = ChildNamed(*attach("portuguese-store.pst"), "Caixa de Entrada");
    const auto mail = ItemsOf(*inbox);
    EXPECT_EQ(mail.at(2)->Subject(),
              "Re: Solicita documentação para contrato de estágio na DITEC/PF.");
    EXPECT_EQ(mail.at(0)->SenderName(), ""); // a message without a sender reads as empty
}

TEST_F(SampleStore, BodiesComeAsTextWithoutMarkup) {
    auto inbox = ChildNamed(*attach("english-store.pst"), "Inbox");
    for (const auto &item : ItemsOf(*inbox)) {
        const std::string body = item->Body();
        for (const char *markup : {"<html", "<p>", "<div", "</", "&nbsp;"})
            EXPECT_EQ(body.find(markup), std::string::npos) << item->Subject() << ": " << markup;
        EXPECT_EQ(body.find('\0'), std::string::npos) << item->Subject();
    }
    const std::string html = ItemsOf(*inbox).at(1)->Body();
    EXPECT_NE(html.find("New Prices Launch July 1st"), std::string::npos);
}

TEST_F(SampleStore, EntryIdResolvesAfterTheStoreWasRemoved) {
    auto root = attach("english-store.pst");
    auto sent = ChildNamed(*root, "Sent Items");
    const auto items = ItemsOf(*sent);
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

TEST_F(SampleStore, EntryIdsOfTwoStoresNameTheirOwnStore) {
    auto english = ItemsOf(*ChildNamed(*attach("english-store.pst"), "Inbox"));
    auto portuguese = ItemsOf(*ChildNamed(*attach("portuguese-store.pst"), "Caixa de Entrada"));
    EXPECT_NE(english.front()->EntryID(), portuguese.front()->EntryID());
    EXPECT_EQ(mapi->GetItemFromID(portuguese.front()->EntryID())->Subject(),
              portuguese.front()->Subject());
}

TEST_F(SampleStore, UnknownEntryIdsAreNotFound) {
    auto root = attach("english-store.pst");
    const std::string folderIsNoMessage = "51425046000000010000"
                                          "8082"; // the Inbox itself
    for (const std::string &id : {std::string("00000000000000000000001"), std::string("garbage"),
                                  std::string("514250460000000900200044"), folderIsNoMessage})
        EXPECT_THROW(mapi->GetItemFromID(id), Failure) << id;
}

TEST_F(SampleStore, AddingAFileTwiceAddsNothing) {
    attach("english-store.pst");
    mapi->AddStore(samples + "/./english-store.pst");
    EXPECT_EQ(mapi->folders()->count(), 1);
}

TEST_F(SampleStore, CollectionsRefuseIndexesOutOfRange) {
    auto root = attach("english-store.pst");
    auto folders = root->folders();
    EXPECT_THROW(folders->item(0), Failure);
    EXPECT_THROW(folders->item(folders->count() + 1), Failure);
    auto items = ChildNamed(*root, "Inbox")->items();
    EXPECT_THROW(items->item(0), Failure);
    EXPECT_THROW(items->item(9), Failure);
    EXPECT_THROW(mapi->folders()->item(2), Failure);
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

TEST(PffApplication, AttachingAMissingFileNamesIt) {
    test::TempFolder profile;
    PffMailStoreLayer layer(profile.path());
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    try {
        mapi->AddStore(profile / "absent.pst");
        FAIL() << "attaching a missing file succeeded";
    } catch (const Failure &failure) {
        EXPECT_NE(failure.description().find("absent.pst"), std::string::npos);
        EXPECT_NE(failure.description().find("No such file"), std::string::npos);
    }
    EXPECT_EQ(mapi->folders()->count(), 0);
}

} // namespace
} // namespace qb
