// Which data files make up the mail profile, and how the namespace keeps its store list.
#include "failure/failure.h"
#include "pst/pff_mail_store.h"
#include "pst/pff_profile.h"
#include "support/made_store.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qb {
namespace {

std::vector<std::string> Names(const std::vector<std::string> &paths) {
    std::vector<std::string> names;
    for (const auto &path : paths)
        names.push_back(std::filesystem::path(path).filename().string());
    return names;
}

TEST(PffProfile, ListsDataFilesOfTheFolderInNameOrder) {
    test::TempFolder profile;
    for (const char *name : {"b.PST", "a.ost", "notes.txt", ".hidden.pst", "C.Pst", "pst", ".pst",
                             "archive.pst.bak", "d.oSt"})
        profile.write(name, "x");
    std::filesystem::create_directory(profile / "folder.pst");
    std::filesystem::create_directory(profile / "sub");
    profile.write("sub/inner.pst", "x");

    EXPECT_EQ(Names(ProfileStorePaths(profile.path())),
              (std::vector<std::string>{"a.ost", "b.PST", "C.Pst", "d.oSt"}));
    EXPECT_EQ(ProfileStorePaths(profile.path()).front(), profile / "a.ost");
}

TEST(PffProfile, MissingFolderIsAProfileWithoutStores) {
    test::TempFolder scratch;
    EXPECT_TRUE(ProfileStorePaths(scratch / "Outlook Files").empty());
    PffMailStoreLayer layer(scratch / "Outlook Files");
    EXPECT_EQ(layer.createApplication()->GetNamespace("MAPI")->folders()->count(), 0);
}

TEST(PffProfile, UnreadableStoresAreKnownByTheirFilesAndFailOnlyWhenTheirRootsAreRead) {
    test::TempFolder profile;
    profile.write("a.ost", "");
    profile.write("c.pst", "this is not an Outlook data file");
    PffMailStoreLayer layer(profile.path());
    auto roots = layer.createApplication()->GetNamespace("MAPI")->folders();
    ASSERT_EQ(roots->count(), 2);
    EXPECT_EQ(roots->storeFilePath(1), profile / "a.ost");
    EXPECT_EQ(roots->storeFilePath(2), profile / "c.pst");
    EXPECT_THROW(roots->storeFilePath(3), Failure);
    const std::vector<std::string> files = {"a.ost", "c.pst"};
    for (int index = 1; index <= 2; ++index) {
        const std::string &name = files[static_cast<std::size_t>(index - 1)];
        try {
            roots->item(index);
            FAIL() << "an unreadable store gave a root folder";
        } catch (const Failure &failure) {
            EXPECT_NE(failure.description().find(name), std::string::npos);
        }
    }
}

/// A profile folder holding two made stores, and things that are not stores.
class MadeProfile : public ::testing::Test {
  protected:
    void SetUp() override {
        test::WriteMadeStore(attachable);
        std::filesystem::copy_file(attachable, profile / "b.PST");
        std::filesystem::copy_file(attachable, profile / ".hidden.pst");
        test::WriteOneMessageStore(profile / "a.ost", "Zweites Postfach", "Hallo");
        profile.write("notes.txt", "not a store");
    }

    test::TempFolder profile;
    test::TempFolder elsewhere;
    const std::string attachable = elsewhere / "made.pst";
    PffMailStoreLayer layer{profile.path()};
};

TEST_F(MadeProfile, ProfileStoresComeFirstAndAttachedFilesAfterThem) {
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    auto roots = mapi->folders();
    ASSERT_EQ(roots->count(), 2);
    EXPECT_EQ(roots->item(1)->name(), "Zweites Postfach");
    EXPECT_EQ(roots->item(1)->storeFilePath(), profile / "a.ost");
    EXPECT_EQ(roots->item(2)->name(), "Beispiel-Postfach ✉");

    mapi->AddStore(attachable);
    EXPECT_EQ(mapi->folders()->count(), 3);
    auto attached = mapi->folders()->GetLast();
    EXPECT_EQ(attached->storeFilePath(), attachable);

    mapi->RemoveStore(*attached);
    EXPECT_EQ(mapi->folders()->count(), 2);
    EXPECT_EQ(mapi->folders()->GetLast()->storeFilePath(), profile / "b.PST");
}

TEST_F(MadeProfile, AttachingAProfileStoreAddsNothing) {
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(profile / "b.PST");
    EXPECT_EQ(mapi->folders()->count(), 2);
}

TEST_F(MadeProfile, RemovingAProfileStoreTakesItOutOfTheList) {
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    auto first = mapi->folders()->item(1);
    mapi->RemoveStore(*first);
    ASSERT_EQ(mapi->folders()->count(), 1);
    EXPECT_EQ(mapi->folders()->item(1)->name(), "Beispiel-Postfach ✉");
    EXPECT_THROW(mapi->RemoveStore(*first), Failure);
}

TEST_F(MadeProfile, ApplicationsShareTheOpenedStores) {
    auto first = layer.createApplication()->GetNamespace("MAPI");
    auto message = first->folders()->item(2)->folders()->item(2)->items()->item(1);
    const std::string id = message->EntryID();
    auto second = layer.createApplication()->GetNamespace("MAPI");
    EXPECT_EQ(second->folders()->item(2)->folders()->item(2)->items()->item(1)->EntryID(), id);
    EXPECT_EQ(second->GetItemFromID(id)->Subject(), message->Subject());
}

} // namespace
} // namespace qb
