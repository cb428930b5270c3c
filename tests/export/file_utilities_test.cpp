#include "export/file_utilities.h"

#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace qb::exporting {
namespace {

namespace fs = std::filesystem;

class FileUtilities : public ::testing::Test {
  protected:
    test::TestPlatform t;
    FileSystem &files = t.files;
};

TEST_F(FileUtilities, FolderExistsOnlyForFolders) {
    t.folder.write("note.txt", "x");
    EXPECT_TRUE(FolderExists(files, t.folder.path()));
    EXPECT_TRUE(FolderExists(files, t.folder.path() + "/"));
    EXPECT_TRUE(FolderExists(files, "/"));
    EXPECT_FALSE(FolderExists(files, t.folder / "note.txt"));
    EXPECT_FALSE(FolderExists(files, t.folder / "missing"));
    EXPECT_FALSE(FolderExists(files, ""));
}

TEST_F(FileUtilities, ReadTextFileTellsEmptyFromMissing) {
    t.folder.write("empty.txt", "");
    t.folder.write("mail.txt", "\xEF\xBB\xBFline one\r\nline two");
    EXPECT_EQ(ReadTextFile(files, t.folder / "empty.txt"), "empty file");
    EXPECT_EQ(ReadTextFile(files, t.folder / "missing.txt"), "");
    EXPECT_EQ(ReadTextFile(files, t.folder / "mail.txt"), "\xEF\xBB\xBFline one\r\nline two");
}

TEST_F(FileUtilities, ReadTextFileOrWarnWarnsOnlyWhenMissing) {
    t.folder.write("mail.txt", "body");
    EXPECT_EQ(ReadTextFileOrWarn(t.files, t.platform.messages, t.folder / "mail.txt"), "body");
    EXPECT_TRUE(t.messageBoxes.shown.empty());

    EXPECT_EQ(ReadTextFileOrWarn(t.files, t.platform.messages, t.folder / "missing.txt"), "");
    ASSERT_EQ(t.messageBoxes.shown.size(), 1u);
    EXPECT_EQ(t.messageBoxes.shown[0].text, "File not found");
    EXPECT_EQ(t.messageBoxes.shown[0].title, "Quillbarrow");
    EXPECT_EQ(t.messageBoxes.shown[0].buttons, MessageButtons::Ok);
}

TEST_F(FileUtilities, WriteTextFileReplacesWithoutAddingALineEnd) {
    t.folder.write("out.txt", "old content that is longer");
    WriteTextFile(files, "new", t.folder / "out.txt");
    EXPECT_EQ(t.folder.read("out.txt"), "new");
}

TEST_F(FileUtilities, FailuresTellAMissingFileFromAMissingFolder) {
    t.folder.write("locked.txt", "x");
    ::chmod((t.folder / "locked.txt").c_str(), 0444);
    const struct {
        const char *trace;
        std::function<void()> call;
        std::int32_t number;
    } cases[] = {
        {"read a missing file", [&] { files.readAll(t.folder / "missing.txt"); }, 53},
        {"delete a missing file", [&] { ForceDeleteFile(files, t.folder / "missing.txt"); }, 53},
        {"delete in a missing folder", [&] { ForceDeleteFile(files, t.folder / "no/*.eml"); }, 76},
        {"write into a missing folder", [&] { WriteTextFile(files, "x", t.folder / "no/a"); }, 76},
        {"write to no path", [&] { WriteTextFile(files, "x", ""); }, 76},
        {"replace a read-only file", [&] { WriteTextFile(files, "x", t.folder / "locked.txt"); },
         70},
        {"append to a read-only file",
         [&] { WriteOrAppendTextFile(files, "x", t.folder / "locked.txt", 2); }, 70},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.trace);
        try {
            test.call();
            ADD_FAILURE() << "no failure";
        } catch (const Failure &failure) {
            EXPECT_EQ(failure.number(), test.number) << failure.description();
        }
    }
    EXPECT_EQ(t.folder.read("locked.txt"), "x");
}

TEST_F(FileUtilities, AWriteThatFailsPartWayLeavesEveryFileAsItWas) {
    t.folder.write("all.txt", "earlier run");
    t.files.failAfterBytes = 4;
    for (std::int32_t rowIndex : {1, 2}) {
        SCOPED_TRACE(rowIndex);
        try {
            WriteOrAppendTextFile(files, "a longer text", t.folder / "all.txt", rowIndex);
            ADD_FAILURE() << "the write went through";
        } catch (const Failure &failure) {
            EXPECT_EQ(failure.description(), "File too large: " + (t.folder / "all.txt"));
        }
    }
    EXPECT_THROW(WriteTextFile(files, "a longer text", t.folder / "new.txt"), Failure);
    EXPECT_EQ(t.folder.read("all.txt"), "earlier run");
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(t.folder.path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"all.txt"}) << "no partial or temporary file";
}

TEST_F(FileUtilities, WritesReplaceALinkAndNeverReachItsTarget) {
    t.folder.write("outside.txt", "someone else's");
    fs::create_directory(t.folder / "out");
    fs::create_symlink(t.folder / "outside.txt", t.folder / "out/AllEmails.txt");
    EXPECT_THROW(WriteOrAppendTextFile(files, "appended", t.folder / "out/AllEmails.txt", 2),
                 Failure);
    WriteOrAppendTextFile(files, "replaced", t.folder / "out/AllEmails.txt", 1);
    EXPECT_FALSE(fs::is_symlink(t.folder / "out/AllEmails.txt"));
    EXPECT_EQ(t.folder.read("out/AllEmails.txt"), "replaced");
    EXPECT_EQ(t.folder.read("outside.txt"), "someone else's");
}

TEST_F(FileUtilities, WriteOrAppendReplacesForTheFirstRowAndAppendsLater) {
    t.folder.write("all.txt", "earlier run");
    WriteOrAppendTextFile(files, "one", t.folder / "all.txt", 1);
    EXPECT_EQ(t.folder.read("all.txt"), "one");
    WriteOrAppendTextFile(files, "two", t.folder / "all.txt", 2);
    EXPECT_EQ(t.folder.read("all.txt"), "onetwo");
    WriteOrAppendTextFile(files, "zero", t.folder / "all.txt", 0);
    EXPECT_EQ(t.folder.read("all.txt"), "zero");

    WriteOrAppendTextFile(files, "five", t.folder / "new.txt", 5);
    EXPECT_EQ(t.folder.read("new.txt"), "five");
}

TEST_F(FileUtilities, DeleteFileQuietlyTakesPatternsAndIsSilentWhenNothingMatches) {
    t.folder.write("a.eml", "1");
    t.folder.write("b.eml", "2");
    t.folder.write("keep.txt", "3");
    DeleteFileQuietly(t.files, t.events, t.folder / "*.eml");
    EXPECT_FALSE(fs::exists(t.folder / "a.eml"));
    EXPECT_FALSE(fs::exists(t.folder / "b.eml"));
    EXPECT_TRUE(fs::exists(t.folder / "keep.txt"));
    EXPECT_EQ(t.events.processed, 1);

    EXPECT_NO_THROW(DeleteFileQuietly(t.files, t.events, t.folder / "*.eml"));
    EXPECT_NO_THROW(DeleteFileQuietly(t.files, t.events, ""));
    EXPECT_TRUE(t.messageBoxes.shown.empty());
}

TEST_F(FileUtilities, DeleteFileQuietlyRemovesReadOnlyFilesByForce) {
    t.folder.write("locked.txt", "x");
    ::chmod((t.folder / "locked.txt").c_str(), 0444);
    DeleteFileQuietly(t.files, t.events, t.folder / "locked.txt");
    EXPECT_FALSE(fs::exists(t.folder / "locked.txt"));
}

TEST_F(FileUtilities, ForceDeleteFileLetsFailuresThrough) {
    t.folder.write("locked.txt", "x");
    ::chmod((t.folder / "locked.txt").c_str(), 0444);
    ForceDeleteFile(files, t.folder / "locked.txt");
    EXPECT_FALSE(fs::exists(t.folder / "locked.txt"));
    EXPECT_THROW(ForceDeleteFile(files, t.folder / "missing.txt"), Failure);
}

TEST_F(FileUtilities, PauseWaitsForEventsUntilTheTimeHasPassed) {
    t.clock.current = {2024, 3, 3, 10, 0, 0};
    Pause(t.clock, t.events, 0.5);
    EXPECT_NEAR(t.clock.secondsSinceMidnight(), 36000.5, 1e-9);
    EXPECT_GE(t.events.waits, 1);
    EXPECT_TRUE(t.clock.sleeps.empty()) << "a pause must let events run, not sleep";
}

TEST_F(FileUtilities, PauseAcrossMidnightLastsTheGivenTime) {
    t.clock.current = {2024, 12, 31, 23, 59, 59};
    t.clock.fraction = 0.8;
    Pause(t.clock, t.events, 0.5);
    EXPECT_EQ(t.clock.current, (LocalDateTime{2025, 1, 1, 0, 0, 0}));
    EXPECT_NEAR(t.clock.fraction, 0.3, 1e-6);
}

TEST_F(FileUtilities, PauseCountsEventsThatTakeTimeOfTheirOwn) {
    // Window events that run long (another action inside the pause) use up the pause.
    t.clock.current = {2024, 3, 3, 23, 59, 59};
    t.events.onEvents = [&] { t.clock.advance(2.0); };
    Pause(t.clock, t.events, 1.5);
    EXPECT_EQ(t.events.waits, 1);
}

TEST_F(FileUtilities, PauseOfZeroReturnsAtOnce) {
    Pause(t.clock, t.events, 0);
    EXPECT_EQ(t.events.waits, 0);
}

} // namespace
} // namespace qb::exporting
