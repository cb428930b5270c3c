#include "express/run_and_wait.h"
#include "platform/linux/posix_program_runner.h"
#include "platform/linux/system_clock.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

namespace qb::test {
namespace {

/// A program that ends after a set number of looks at it.
class CountingRunner : public ProgramRunner {
  public:
    ProgramStart start(const std::vector<std::string> &arguments) override {
        started = arguments;
        return {4242, 0};
    }
    std::optional<int> exitCode(int processId) override {
        EXPECT_EQ(processId, 4242);
        return ++looks == endsAtLook ? std::optional<int>(5) : std::nullopt;
    }
    std::vector<std::string> started;
    int looks = 0;
    int endsAtLook = 3;
};

TEST(RunAndWaitTest, LetsEventsRunAndSleepsAfterEveryLookUntilTheProgramEnds) {
    CountingRunner runner;
    FakeClock clock;
    ScriptedEventPump events;
    int looksSeenByEvents = -1;
    events.onEvents = [&] { looksSeenByEvents = runner.looks; };

    EXPECT_EQ(express::RunAndWait(runner, events, clock, R"("/opt/qb/Splinterbox" "a b" "")", 0),
              5);
    EXPECT_EQ(runner.started, (std::vector<std::string>{"/opt/qb/Splinterbox", "a b", ""}));
    EXPECT_EQ(events.processed, 3);
    EXPECT_EQ(looksSeenByEvents, 3); // the events of the last round run after the last look
    EXPECT_EQ(clock.sleeps, (std::vector<int>{100, 100, 100}));
}

class RunAndWaitProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!std::filesystem::exists("/bin/sh"))
            GTEST_SKIP() << "needs /bin/sh";
    }
    PosixProgramRunner runner;
    SystemClock clock;
    ScriptedEventPump events;
};

TEST_F(RunAndWaitProgramTest, WaitsForAProgramThatRunsAWhileAndReturnsItsExitCode) {
    const std::int32_t code =
        express::RunAndWait(runner, events, clock, R"("/bin/sh" -c "sleep 0.5; exit 7")");
    EXPECT_EQ(code, 7);
    EXPECT_GE(events.processed, 4);
}

TEST_F(RunAndWaitProgramTest, PassesArgumentsWithBlanksQuotesAndBackslashesIntact) {
    TempFolder folder;
    const std::string line =
        R"("/bin/sh" -c "for a in \"$@\"; do printf '%s|' \"$a\"; done > \"$0\"" ")" +
        (folder / "seen by the child") + R"(" "a b" "say \"hi\"" back\slash "" c:\dir\\ "tail\\")";
    EXPECT_EQ(express::RunAndWait(runner, events, clock, line), 0);
    EXPECT_EQ(folder.read("seen by the child"), R"(a b|say "hi"|back\slash||c:\dir\\|tail\|)");
}

TEST_F(RunAndWaitProgramTest, AProgramThatCannotStartGivesItsErrorNumberAboveTheObjectBase) {
    const struct {
        std::string line;
        int error;
    } cases[] = {
        {R"("/nonexistent/Splinterbox" "x.dbx" "/tmp")", ENOENT},
        {R"("" "x.dbx" "/tmp")", ENOENT},
        {R"("/dev/null")", EACCES},
    };
    for (const auto &example : cases) {
        EXPECT_EQ(express::RunAndWait(runner, events, clock, example.line),
                  static_cast<std::int32_t>(0x80040000u) + example.error)
            << example.line;
    }
    EXPECT_EQ(events.processed, 0);
}

} // namespace
} // namespace qb::test
