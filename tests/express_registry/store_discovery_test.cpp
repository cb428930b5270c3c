#include "express/search_identities.h"
#include "express_registry/wine_prefix.h"
#include "wine/wine_path_file_system.h"
#include "wine/wine_registry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace qb::express {
namespace {

const std::string noStoreMessage = "You may be have no Outlook Express installed. \r\n"
                                   "Please try to use Add Outlook Express File button.";

/// The registry lines of one identity whose version key holds the values given.
std::string identity(const std::string &id, const std::string &values) {
    return "[Identities\\\\" + id + "\\\\Software\\\\Microsoft\\\\Outlook Express\\\\5.0] 0\n" +
           values + "\n";
}

/// The "Store Root" of an identity, below the profile folder as written.
std::string storeRoot(const std::string &id, const std::string &profile = "%UserProfile%") {
    return "\"Store Root\"=str(2):\"" + profile + "\\\\Local Settings\\\\Identities\\\\" + id +
           "\\\\Outlook Express\\\\\"";
}

/// The "Store Root" as Outlook Express itself writes it: without a final separator.
std::string storeRootWithoutSeparator(const std::string &id) {
    return "\"Store Root\"=str(2):\"%UserProfile%\\\\Local Settings\\\\Identities\\\\" + id +
           "\\\\Outlook Express\"";
}

/// The Windows path of a file in an identity's store.
std::string storeFile(const std::string &id, const std::string &name) {
    return "C:\\users\\ann\\Local Settings\\Identities\\" + id + "\\Outlook Express\\" + name;
}

class StoreDiscoveryTest : public ::testing::Test {
  protected:
    void writeStore(const std::string &id, std::initializer_list<std::string> names) {
        for (const std::string &name : names)
            prefix.writeDriveFile("users/ann/Local Settings/Identities/" + id +
                                  "/Outlook Express/" + name);
    }

    void click(Registry &registry) {
        listIdentityMailboxes({{registry, files}, fixture.platform.messages, fixture.reporter},
                              state, window, ListView1, PushButton1);
    }
    void click() {
        WineRegistry registry(prefix.path(), "ann");
        click(registry);
    }

    std::vector<std::string> rows() const {
        std::vector<std::string> texts;
        for (int row = 1; row <= ListView1.rowCount(); ++row)
            texts.emplace_back(ListView1.text(row));
        return texts;
    }

    /// The rows from first on, count of them, sorted: a folder lists in the file system's order.
    std::vector<std::string> sortedRows(std::size_t first, std::size_t count) const {
        std::vector<std::string> texts = rows();
        texts = std::vector<std::string>(texts.begin() + first, texts.begin() + first + count);
        std::sort(texts.begin(), texts.end());
        return texts;
    }

    test::TestPlatform fixture;
    test::WinePrefixFolder prefix;
    WinePathFileSystem files{fixture.files, prefix.path()};
    SearchState state;
    WindowModel window{"Form2", 8040, 10245};
    ListView ListView1{"ListView1", {}};
    PushButton PushButton1{"PushButton1", "Add Outlook Express File", {}};
};

TEST_F(StoreDiscoveryTest, ListsEveryIdentitysStoreInOrderWithoutTheIndexFiles) {
    prefix.writeRegistry("user.reg", "[Identities] 0\n\"Default User ID\"=\"{B}\"\n" +
                                         identity(" ", storeRoot("{Blank}")) +
                                         identity("{B}", storeRoot("{B}")) +
                                         identity("{A}", storeRootWithoutSeparator("{A}")));
    writeStore("{Blank}", {"Inbox.dbx"});
    writeStore("{B}", {"Inbox.dbx", "Sent Items.dbx", "Folders.dbx", "POP3UIDL.DBX",
                       "old folders.dbx", "notes.txt"});
    writeStore("{A}", {"Outbox.DBX", "folders.DBX", "Pop3uidl.dbx"});

    click();

    ASSERT_EQ(ListView1.rowCount(), 4);
    EXPECT_EQ(sortedRows(0, 3), (std::vector<std::string>{storeFile("{B}", "Inbox.dbx"),
                                                          storeFile("{B}", "Sent Items.dbx"),
                                                          storeFile("{B}", "old folders.dbx")}));
    EXPECT_EQ(rows()[3], storeFile("{A}", "Outbox.DBX"));
    EXPECT_EQ(
        state.StoreFolders,
        (std::vector<std::string>{storeFile("{B}", ""), storeFile("{A}", "").substr(
                                                            0, storeFile("{A}", "").size() - 1)}));
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
    EXPECT_EQ(window.focus(), nullptr);
}

TEST_F(StoreDiscoveryTest, FilesArePickedByHandFromTheFirstIdentityStoreThatIsThere) {
    const auto firstStore = [&] {
        WineRegistry registry(prefix.path(), "ann");
        return FirstIdentityStoreFolder(fixture.platform.messages, {registry, files});
    };
    EXPECT_EQ(firstStore(), "") << "no identity: the dialog opens at home";
    prefix.writeRegistry("user.reg", identity("{A}", storeRoot("{A}")) +
                                         identity("{B}", storeRootWithoutSeparator("{B}")));
    EXPECT_EQ(firstStore(), "") << "no store folder is there";
    writeStore("{B}", {"Inbox.dbx"});
    EXPECT_EQ(firstStore(), files.hostPath(storeFile("{B}", "")));
    EXPECT_TRUE(std::filesystem::is_directory(firstStore()));
    writeStore("{A}", {"Inbox.dbx"});
    EXPECT_EQ(firstStore(), files.hostPath(storeFile("{A}", "")));
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST_F(StoreDiscoveryTest, AnIdentityWithoutAVersionKeyStopsTheOnesAfterIt) {
    prefix.writeRegistry("user.reg", identity("{A}", storeRoot("{A}")) +
                                         "[Identities\\\\{B}\\\\Software\\\\Microsoft\\\\"
                                         "Outlook Express] 0\n" +
                                         identity("{C}", storeRoot("{C}")));
    writeStore("{A}", {"Inbox.dbx"});
    writeStore("{C}", {"Inbox.dbx"});

    click();

    EXPECT_EQ(rows(), std::vector<std::string>{storeFile("{A}", "Inbox.dbx")});
    EXPECT_EQ(
        state.StoreFolders,
        (std::vector<std::string>{
            storeFile("{A}", ""),
            "HKEY_CURRENT_USER\\Identities\\{B}\\Software\\Microsoft\\Outlook Express", "{C}\\"}));
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST_F(StoreDiscoveryTest, AVersionKeyWithoutStoreRootFailsTheWholeDiscovery) {
    prefix.writeRegistry("user.reg", identity("{A}", storeRoot("{A}")) +
                                         identity("{B}", "\"Store Root Backup\"=\"C:\\\\\""));
    writeStore("{A}", {"Inbox.dbx"});

    click();

    EXPECT_EQ(ListView1.rowCount(), 0);
    ASSERT_EQ(fixture.reports().size(), 1u);
    EXPECT_EQ(fixture.reports()[0].rfind("DBXFiles component failure\r\n"
                                         "in Ferndock2021/08/31.Express1.SearchIdentities "
                                         "at line 100",
                                         0),
              0u);
    EXPECT_EQ(fixture.messageBoxes.texts().back(), noStoreMessage);
    EXPECT_EQ(fixture.messageBoxes.shown.back().title, "Quillbarrow");
    EXPECT_EQ(fixture.messageBoxes.shown.back().icon, MessageIcon::None);
    EXPECT_EQ(window.focus(), &PushButton1);
}

TEST_F(StoreDiscoveryTest, ProfileVariableInOtherLetterCaseIsLeftAlone) {
    prefix.writeRegistry("user.reg", identity("{A}", storeRoot("{A}", "%USERPROFILE%")));
    writeStore("{A}", {"Inbox.dbx"});

    click();

    EXPECT_EQ(ListView1.rowCount(), 0);
    ASSERT_EQ(state.StoreFolders.size(), 1u);
    EXPECT_TRUE(state.StoreFolders[0].starts_with("%USERPROFILE%\\Local Settings"));
    EXPECT_EQ(fixture.messageBoxes.texts(), std::vector<std::string>{noStoreMessage});
}

TEST_F(StoreDiscoveryTest, EveryClickAppendsWhatItFinds) {
    prefix.writeRegistry("user.reg", identity("{A}", storeRoot("{A}")));
    writeStore("{A}", {"Inbox.dbx"});
    WineRegistry registry(prefix.path(), "ann");
    click(registry);
    click(registry);
    EXPECT_EQ(rows(), (std::vector<std::string>{storeFile("{A}", "Inbox.dbx"),
                                                storeFile("{A}", "Inbox.dbx")}));
    EXPECT_EQ(state.FoundDBXFiles.size(), 1u);

    // A lookup that fails later searches the folders of the last one that succeeded.
    test::TempFolder elsewhere;
    WineRegistry missing(elsewhere / "no-prefix", "ann");
    click(missing);
    EXPECT_EQ(ListView1.rowCount(), 3);
    EXPECT_EQ(fixture.reports().size(), 1u);
}

TEST_F(StoreDiscoveryTest, WithoutAWinePrefixTheUserIsSentToTheFileButton) {
    test::TempFolder elsewhere;
    WineRegistry registry(elsewhere / "no-prefix", "ann");
    ListView1.addRow({"C:\\picked by hand.dbx"});
    click(registry);
    EXPECT_EQ(fixture.reports().size(), 1u);
    EXPECT_EQ(ListView1.rowCount(), 1);
    EXPECT_EQ(window.focus(), nullptr);

    ListView1.clear();
    click(registry);
    EXPECT_EQ(fixture.reports().size(), 2u);
    EXPECT_EQ(fixture.messageBoxes.texts().back(), noStoreMessage);
    EXPECT_EQ(window.focus(), &PushButton1);
}

TEST_F(StoreDiscoveryTest, AStoreFolderThatCannotBeListedIsReportedAndTheSearchGoesOn) {
    const struct {
        const char *what;
        const char *loopName; // the store folder is a link to itself when given
        std::size_t reports;
    } cases[] = {
        {"a loop of links", "Outlook Express", 1},
        {"a missing folder is no failure", nullptr, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        test::WinePrefixFolder prefix;
        WinePathFileSystem files{fixture.files, prefix.path()};
        prefix.writeRegistry("user.reg",
                             identity("{A}", storeRoot("{A}")) + identity("{B}", storeRoot("{B}")));
        const std::string identityFolder = prefix.path() + "/drive_c/users/ann/Local Settings/"
                                                           "Identities/{A}";
        std::filesystem::create_directories(identityFolder);
        if (c.loopName)
            std::filesystem::create_directory_symlink(c.loopName,
                                                      identityFolder + "/" + c.loopName);
        prefix.writeDriveFile("users/ann/Local Settings/Identities/{B}/Outlook Express/Inbox.dbx");
        fixture.messageBoxes.shown.clear();
        ListView1.clear();
        WineRegistry registry(prefix.path(), "ann");
        listIdentityMailboxes({{registry, files}, fixture.platform.messages, fixture.reporter},
                              state, window, ListView1, PushButton1);

        EXPECT_EQ(rows(), std::vector<std::string>{storeFile("{B}", "Inbox.dbx")});
        ASSERT_EQ(fixture.reports().size(), c.reports);
        for (const std::string &report : fixture.reports())
            EXPECT_NE(report.find("Identities/{A}/Outlook Express\r\n"
                                  "in Ferndock2021/08/31.Express1.SearchIdentities at line 104"),
                      std::string::npos)
                << report;
    }
}

TEST_F(StoreDiscoveryTest, EachSearchReadsTheRegistryAsItIsNow) {
    // The prefix folder is there before Wine has written its registry, then the registry is
    // written, then rewritten with a second identity: each search sees what the files hold.
    WineRegistry registry(prefix.path(), "ann");
    writeStore("{A}", {"Inbox.dbx"});
    writeStore("{B}", {"Sent Items.dbx"});
    click(registry);
    EXPECT_EQ(rows(), std::vector<std::string>{});
    EXPECT_EQ(fixture.messageTexts(), std::vector<std::string>{noStoreMessage});

    prefix.writeRegistry("user.reg", identity("{A}", storeRoot("{A}")));
    click(registry);
    EXPECT_EQ(rows(), std::vector<std::string>{storeFile("{A}", "Inbox.dbx")});

    ListView1.clear();
    prefix.writeRegistry("user.reg",
                         identity("{A}", storeRoot("{A}")) + identity("{B}", storeRoot("{B}")));
    click(registry);
    EXPECT_EQ(rows(), (std::vector<std::string>{storeFile("{A}", "Inbox.dbx"),
                                                storeFile("{B}", "Sent Items.dbx")}));
}

TEST(IsBlankName, IgnoresNulsAndBlanksOnly) {
    EXPECT_TRUE(IsBlankName(""));
    EXPECT_TRUE(IsBlankName("  "));
    EXPECT_TRUE(IsBlankName(std::string(" \0 \0", 4)));
    EXPECT_FALSE(IsBlankName("\t"));
    EXPECT_FALSE(IsBlankName(std::string("\0a\0", 3)));
}

} // namespace
} // namespace qb::express
