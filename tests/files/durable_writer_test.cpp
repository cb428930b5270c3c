// The one writer of every file: staged under a name nobody can guess, whole or not at all, and
// placed with or without replacing what is there. A write that fails part-way is tested where
// the faults were found: the window's file routines (tests/export) and the command line on a
// full disk (tests/cli).
#include "failure/failure.h"
#include "files/staged_file.h"
#include "files/staged_names.h"
#include "files/whole_file.h"

#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <sys/wait.h>
#include <unistd.h>

namespace qb::files {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

/// The id of a process that has ended and been reaped.
pid_t GoneProcess() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

class DurableWriter : public ::testing::Test {
  protected:
    test::TempFolder scratch;
    Folder folder{scratch.path()};
};

TEST_F(DurableWriter, StagesUnderAHiddenRandomNameAndLeavesNothingWhenNotPlaced) {
    std::vector<std::string> staged;
    {
        StagedFile first(folder, scratch / "a.txt");
        StagedFile second(folder, scratch / "b.txt");
        first.write("text");
        staged = Names(scratch.path());
    }
    ASSERT_EQ(staged.size(), 2u);
    const std::regex stagedName(R"(\.quillbarrow-(\d+)-[0-9a-f]{16}\.part)");
    for (const std::string &name : staged) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(name, match, stagedName)) << name;
        EXPECT_EQ(match[1], std::to_string(::getpid()));
        EXPECT_EQ(StagingProcess(name), ::getpid());
    }
    EXPECT_NE(staged[0], staged[1]);
    EXPECT_EQ(Names(scratch.path()), std::vector<std::string>{});
}

TEST_F(DurableWriter, PlacementReplacesOnlyWhenAskedAndNeverFollowsALink) {
    scratch.write("outside.txt", "someone else's");
    scratch.write("taken.txt", "earlier");
    fs::create_symlink(scratch / "outside.txt", scratch / "link.txt");
    const struct {
        const char *name;
        Placement placement;
        bool placed;
    } cases[] = {
        {"taken.txt", Placement::KeepExisting, false}, {"link.txt", Placement::KeepExisting, false},
        {"new.txt", Placement::KeepExisting, true},    {"link.txt", Placement::Replace, true},
        {"taken.txt", Placement::Replace, true},
    };
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        StagedFile file(folder, scratch / each.name);
        file.write("new text");
        file.finish(Durability::Unsynced);
        EXPECT_EQ(file.place(each.name, each.placement), each.placed);
    }
    EXPECT_EQ(scratch.read("outside.txt"), "someone else's");
    EXPECT_FALSE(fs::is_symlink(scratch / "link.txt"));
    for (const char *name : {"new.txt", "link.txt", "taken.txt"})
        EXPECT_EQ(scratch.read(name), "new text") << name;
    EXPECT_EQ(Names(scratch.path()).size(), 4u) << "no staged file is left";

    EXPECT_FALSE(WriteWholeFile(scratch / "new.txt", "other", Placement::KeepExisting));
    EXPECT_EQ(scratch.read("new.txt"), "new text");
}

TEST_F(DurableWriter, StagedNamesTellTheirProcessInEveryFormEverWritten) {
    const struct {
        const char *name;
        std::optional<pid_t> process;
    } cases[] = {
        {".quillbarrow-4711-9f86d081884c7d65.part", 4711},
        {".quillbarrow-export-4711-12.part", 4711},
        {".quillbarrow-4711-3.tmp", 4711},
        {".splinterbox-4711.tmp", 4711},
        {".quillbarrow-4711-9F86.part", std::nullopt},
        {".quillbarrow-4711-.part", std::nullopt},
        {".quillbarrow--3.part", std::nullopt},
        {".quillbarrow-0-3.part", std::nullopt},
        {".quillbarrow-4711-3.txt", std::nullopt},
        {"quillbarrow-4711-3.part", std::nullopt},
        {".quillbarrow-export-x-3.part", std::nullopt},
        {"03-03-2024 02 05 09 PM Re  plan.txt", std::nullopt},
    };
    for (const auto &each : cases)
        EXPECT_EQ(StagingProcess(each.name), each.process) << each.name;
}

TEST_F(DurableWriter, StaleStagedFilesOfGoneProcessesAreRemovedAndNothingElse) {
    const std::string gone = std::to_string(GoneProcess());
    const std::string running = std::to_string(::getpid());
    for (const std::string &name :
         {".quillbarrow-" + gone + "-0123456789abcdef.part",
          ".quillbarrow-export-" + gone + "-7.part", ".splinterbox-" + gone + ".tmp",
          ".quillbarrow-" + running + "-0123456789abcdef.part",
          std::string(".hidden-" + gone + ".part"), std::string("mail.txt")})
        scratch.write(name, "x");
    std::vector<std::string> staying = RemoveStaleStagedFiles(folder);
    std::sort(staying.begin(), staying.end());
    const std::vector<std::string> expected{".hidden-" + gone + ".part",
                                            ".quillbarrow-" + running + "-0123456789abcdef.part",
                                            "mail.txt"};
    EXPECT_EQ(staying, expected);
    EXPECT_EQ(Names(scratch.path()), expected);
}

} // namespace
} // namespace qb::files
