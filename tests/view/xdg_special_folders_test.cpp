#include "platform/linux/xdg_special_folders.h"
#include "scoped_environment.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace qb {
namespace {

class XdgSpecialFoldersTest : public ::testing::Test {
  protected:
    test::TempFolder home;
    test::ScopedEnvironment homeVariable{"HOME", home.path()};
    test::ScopedEnvironment configVariable{"XDG_CONFIG_HOME", home / "config"};
    XdgSpecialFolders folders;
};

TEST_F(XdgSpecialFoldersTest, WithoutUserDirsTheUsualFoldersUnderHome) {
    EXPECT_EQ(folders.path(desktopFolderNumber), home / "Desktop");
    EXPECT_EQ(folders.documents(), home / "Documents");
}

TEST_F(XdgSpecialFoldersTest, UserDirsEntriesWinWithHomeExpanded) {
    std::filesystem::create_directories(home / "config");
    home.write("config/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                        "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n"
                                        "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n");
    EXPECT_EQ(folders.path(desktopFolderNumber), home / "Schreibtisch");
    EXPECT_EQ(folders.documents(), "/srv/docs");
}

TEST_F(XdgSpecialFoldersTest, OtherFolderNumbersAreUnknown) {
    EXPECT_EQ(folders.path(5), "");
}

TEST(XdgSpecialFoldersWithoutHome, NothingCanBeNamed) {
    test::ScopedEnvironment home("HOME", std::nullopt);
    XdgSpecialFolders folders;
    EXPECT_EQ(folders.path(desktopFolderNumber), "");
    EXPECT_EQ(folders.documents(), "");
}

TEST(UserDirsEntry, ReadsLikeTheShellDoes) {
    const std::string text = "  # XDG_DESKTOP_DIR=\"$HOME/commented\"\n"
                             "XDG_DESKTOP_DIR_EXTRA=\"$HOME/wrong\"\n"
                             "XDG_DESKTOP_DIR=\"$HOME/first\"\n"
                             "XDG_DESKTOP_DIR=\"$HOME/second\"\n";
    EXPECT_EQ(UserDirsEntry(text, "XDG_DESKTOP_DIR", "/home/u"), "/home/u/second");
    EXPECT_EQ(UserDirsEntry(text, "XDG_MUSIC_DIR", "/home/u"), "");
    EXPECT_EQ(UserDirsEntry("XDG_DESKTOP_DIR=\"$HOME/\"\n", "XDG_DESKTOP_DIR", "/home/u"),
              "/home/u");
}

} // namespace
} // namespace qb
