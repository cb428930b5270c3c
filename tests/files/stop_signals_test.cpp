#include "files/stop_signals.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>

namespace qb::files {
namespace {

std::atomic<int> earlierHandlerCalls{0};

extern "C" void EarlierHandler(int) {
    ++earlierHandlerCalls;
}

TEST(StopSignals, EachSignalAsksToStopWithItsExitCodeAndTheEarlierHandlingComesBack) {
    const struct {
        int signal;
        const char *name;
        int exitCode;
    } cases[] = {{SIGINT, "SIGINT", 130}, {SIGTERM, "SIGTERM", 143}, {SIGHUP, "SIGHUP", 129}};
    for (const auto &each : cases) {
        SCOPED_TRACE(each.name);
        const auto earlier = std::signal(each.signal, EarlierHandler);
        earlierHandlerCalls = 0;
        {
            const StopSignals stop;
            EXPECT_FALSE(stop.stopRequested());
            EXPECT_EQ(stop.exitCode(), 0);
            std::raise(each.signal);
            EXPECT_TRUE(stop.stopRequested());
            EXPECT_EQ(stop.signal(), each.signal);
            EXPECT_EQ(stop.signalName(), each.name);
            EXPECT_EQ(stop.exitCode(), each.exitCode);
        }
        EXPECT_EQ(earlierHandlerCalls, 0);
        std::raise(each.signal);
        EXPECT_EQ(earlierHandlerCalls, 1);
        std::signal(each.signal, earlier);
    }
}

TEST(StopSignals, TheFirstSignalIsTheOneThatCounts) {
    const StopSignals stop;
    std::raise(SIGTERM);
    std::raise(SIGHUP);
    EXPECT_EQ(stop.signalName(), "SIGTERM");
}

} // namespace
} // namespace qb::files
