#include "files/stop_signals.h"

#include "failure/system_failure.h"

#include <atomic>
#include <cerrno>

namespace qb::files {
namespace {

constexpr int caughtSignals[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the signal handler, so it must be lock-free.
std::atomic<int> arrivedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void NoteStopSignal(int signal) {
    int none = 0;
    arrivedSignal.compare_exchange_strong(none, signal);
}

} // namespace

StopSignals::StopSignals() {
    arrivedSignal = 0;
    struct sigaction action {};
    action.sa_handler = NoteStopSignal;
    sigemptyset(&action.sa_mask);
    // SA_RESTART: the reading libraries are not written for interrupted system calls.
    // SA_RESETHAND: the second signal of a kind meets the default action and ends the process.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t index = 0; index < std::size(caughtSignals); ++index) {
        if (::sigaction(caughtSignals[index], &action, &previous_[index]) != 0) {
            const int error = errno;
            while (index-- > 0)
                ::sigaction(caughtSignals[index], &previous_[index], nullptr);
            throw SystemFailure(error, "the handlers of SIGINT, SIGTERM and SIGHUP");
        }
    }
}

StopSignals::~StopSignals() {
    for (std::size_t index = 0; index < std::size(caughtSignals); ++index)
        ::sigaction(caughtSignals[index], &previous_[index], nullptr);
}

bool StopSignals::stopRequested() const {
    return arrivedSignal.load() != 0;
}

int StopSignals::signal() const {
    return arrivedSignal.load();
}

std::string StopSignals::signalName() const {
    switch (signal()) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return {};
    }
}

int StopSignals::exitCode() const {
    const int number = signal();
    return number == 0 ? 0 : 128 + number;
}

} // namespace qb::files
