#include "express_registry/wine_prefix.h"
#include "wine/wine_path_file_system.h"
#include "wine/wine_paths.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace qb {
namespace {

class WinePathsTest : public ::testing::Test {
  protected:
    WinePathsTest() {
        prefix.writeDriveFile("users/ann/Mail Store/Inbox.dbx", "inbox");
        prefix.writeDriveFile("users/ann/Mail Store/Sent.DBX", "sent");
        prefix.writeDriveFile("users/ann/Mail Store/notes.txt");
    }
    std::string drive() const { return prefix.path() + "/dosdevices/c:"; }

    test::WinePrefixFolder prefix;
    PosixFileSystem posix;
    WinePathFileSystem files{posix, prefix.path()};
};

TEST_F(WinePathsTest, DrivePathsMapThroughDosDevicesWithNamesInAnyCase) {
    const struct {
        std::string windows;
        std::string host; // after the drive
    } cases[] = {
        {"C:\\users\\ann\\Mail Store\\Inbox.dbx", "/users/ann/Mail Store/Inbox.dbx"},
        {"c:\\USERS\\Ann\\mail store\\INBOX.DBX", "/users/ann/Mail Store/Inbox.dbx"},
        {"C:/users/./ann/../ann//Mail Store/", "/users/ann/Mail Store"},
        {"C:\\Users\\nobody\\MAIL", "/users/nobody/MAIL"},
        {"C:", ""},
    };
    for (const auto &expected : cases)
        EXPECT_EQ(WineHostPath(prefix.path(), expected.windows), drive() + expected.host)
            << expected.windows;
    EXPECT_EQ(WineHostPath(prefix.path(), "/home/ann/C:\\x"), "/home/ann/C:\\x");
    EXPECT_EQ(WineHostPath(prefix.path(), "%USERPROFILE%\\x"), "%USERPROFILE%\\x");
}

TEST_F(WinePathsTest, ShortPathNameIsTheHostPathOfAnExistingFile) {
    EXPECT_EQ(WineShortPathName(prefix.path(), "C:\\Users\\ann\\Mail Store\\sent.dbx"),
              drive() + "/users/ann/Mail Store/Sent.DBX");
    EXPECT_EQ(WineShortPathName(prefix.path(), "C:\\users\\ann\\Mail Store\\Gone.dbx"), "");
    EXPECT_EQ(WineShortPathName(prefix.path(), "D:\\users"), "");
    const std::string host = drive() + "/users/ann/Mail Store/Inbox.dbx";
    EXPECT_EQ(WineShortPathName(prefix.path(), host), host);
}

TEST_F(WinePathsTest, FileSystemTakesDrivePathsAndPatterns) {
    std::vector<std::string> names = files.listFiles("C:\\USERS\\ann\\mail store\\*.dbx");
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Inbox.dbx", "Sent.DBX"}));
    EXPECT_EQ(files.listFiles("C:\\users\\ann\\Mail Store*.dbx"), std::vector<std::string>{});
    EXPECT_EQ(files.readAll("c:\\users\\ann\\MAIL STORE\\sent.dbx"), "sent");
    EXPECT_TRUE(files.isFolder("C:\\Users\\Ann"));

    files.write("C:\\users\\ann\\Mail Store\\new.txt", "new");
    EXPECT_EQ(posix.readAll(drive() + "/users/ann/Mail Store/new.txt"), "new");
    files.remove("C:\\users\\ann\\Mail Store\\*.TXT");
    EXPECT_EQ(posix.listFiles(drive() + "/users/ann/Mail Store/*.txt"), std::vector<std::string>{});
    EXPECT_THROW(files.remove("C:\\users\\ann\\Mail Store\\*.txt"), Failure);

    // Host paths are handed on as they are.
    const std::string host = drive() + "/users/ann/Mail Store/Inbox.dbx";
    EXPECT_EQ(files.readAll(host), "inbox");
    EXPECT_THROW(files.readAll(drive() + "/users/ann/mail store/inbox.dbx"), Failure);
}

} // namespace
} // namespace qb
