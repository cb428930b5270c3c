#include "failure/failure.h"
#include "platform/linux/xdg_special_folders.h"
#include "platform/qt/qsettings_store.h"
#include "scoped_environment.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace qb {
namespace {

class QSettingsStoreTest : public ::testing::Test {
  protected:
    test::TempFolder folder;
    std::string iniPath = folder / "Tarnwick/Quillbarrow.ini";
};

TEST_F(QSettingsStoreTest, WrittenValuesReadBackAndReachTheFileAtOnce) {
    QSettingsStore store(iniPath);
    EXPECT_EQ(store.read("PST File", "none"), "none");
    store.write("PST File", "/data/old mail, 2019.pst");
    store.write("Option1", "True");
    EXPECT_EQ(store.read("PST File", ""), "/data/old mail, 2019.pst");
    EXPECT_EQ(store.read("Option1", ""), "True");

    // A second store over the same file sees them: they were written without waiting.
    QSettingsStore other(iniPath);
    EXPECT_EQ(other.read("Option1", ""), "True");
    const std::string text = folder.read("Tarnwick/Quillbarrow.ini");
    EXPECT_NE(text.find("[Quillbarrow]"), std::string::npos);
    EXPECT_EQ(store.location(), iniPath);
}

TEST_F(QSettingsStoreTest, EmptyValueIsStoredAndNotTheFallback) {
    QSettingsStore store(iniPath);
    store.write("Text1", "");
    EXPECT_EQ(store.read("Text1", "fallback"), "");
}

TEST_F(QSettingsStoreTest, ReadsSeeWhatAnotherWriterChanged) {
    QSettingsStore store(iniPath);
    store.write("Combo1", "2");
    EXPECT_EQ(store.read("Combo1", ""), "2");
    QSettingsStore otherProgram(iniPath);
    otherProgram.write("Combo1", "5");
    EXPECT_EQ(store.read("Combo1", ""), "5");

    // A hand-edited file with a list-like value still reads as the one text.
    std::filesystem::remove(iniPath);
    folder.write("Tarnwick/Quillbarrow.ini", "[Quillbarrow]\nText1=red,green\nCombo1=7\n");
    EXPECT_EQ(store.read("Text1", ""), "red,green");
    EXPECT_EQ(store.read("Combo1", ""), "7");
}

TEST_F(QSettingsStoreTest, WriteToAnUnwritablePlaceFails) {
    folder.write("plain-file", "not a folder");
    QSettingsStore store(folder / "plain-file/Tarnwick/Quillbarrow.ini");
    try {
        store.write("Option1", "True");
        FAIL() << "the write should fail";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), 70);
        EXPECT_EQ(failure.source(), "Settings");
    }
}

TEST_F(QSettingsStoreTest, AFileThatCannotBeReadFailsWhileAReadOnlyOneStillReads) {
    // A folder where the file should be cannot be read, even by root.
    std::filesystem::create_directories(iniPath);
    QSettingsStore unreadable(iniPath);
    try {
        unreadable.read("Option1", "fallback");
        FAIL() << "the read should fail";
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), 70);
        EXPECT_NE(failure.description().find(iniPath), std::string::npos);
    }
    EXPECT_THROW(unreadable.write("Option1", "True"), Failure);

    // A file in a folder that refuses new files: the write fails, reads go on working.
    std::filesystem::remove(iniPath);
    folder.write("Tarnwick/Quillbarrow.ini", "[Quillbarrow]\nText1=kept\n");
    QSettingsStore store(iniPath);
    if (::geteuid() != 0) {
        std::filesystem::permissions(folder / "Tarnwick", std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_exec);
        EXPECT_THROW(store.write("Option1", "True"), Failure);
        std::filesystem::permissions(folder / "Tarnwick", std::filesystem::perms::owner_all);
    }
    EXPECT_EQ(store.read("Text1", ""), "kept");
}

TEST_F(QSettingsStoreTest, ADamagedFileNeverLosesAWriteSilently) {
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 131 % 256);
    const std::string damaged[] = {
        binary,
        "[Quillbarrow\nOption1=True\n",
        "[Quillbarrow]\nText1=\xff\xfe\\x\\u\nCombo1=\"unterminated\n",
        std::string("[Quillbarrow]\nText1=a\0b\n", 24),
        "[Quillbarrow]\n" + std::string(1 << 20, 'k') + "=v\n",
    };
    for (const std::string &text : damaged) {
        SCOPED_TRACE(text.substr(0, 40));
        std::filesystem::remove(iniPath);
        folder.write("Tarnwick/Quillbarrow.ini", text);
        QSettingsStore store(iniPath);
        store.read("Text1", "");
        // Either the value is kept or the program is told; a write that vanished would not be.
        try {
            store.write("Option2", "True");
            EXPECT_EQ(QSettingsStore(iniPath).read("Option2", ""), "True");
        } catch (const Failure &failure) {
            EXPECT_EQ(failure.number(), 70);
        }
    }
}

TEST(QSettingsStorePath, FollowsXdgConfigHomeElseHome) {
    {
        test::ScopedEnvironment config("XDG_CONFIG_HOME", "/xdg/config");
        EXPECT_EQ(QSettingsStore::pathIn(XdgConfigFolder()),
                  "/xdg/config/Tarnwick/Quillbarrow.ini");
    }
    test::ScopedEnvironment config("XDG_CONFIG_HOME", std::nullopt);
    test::ScopedEnvironment home("HOME", "/home/mara");
    EXPECT_EQ(QSettingsStore::pathIn(XdgConfigFolder()),
              "/home/mara/.config/Tarnwick/Quillbarrow.ini");
}

} // namespace
} // namespace qb
