// The main window's own work over one store, driven as a user drives it: "Get Emails From
// Outlook" with "PST File:" chosen, "Start Downloading" of the first N listed messages, checked,
// one text file per message, and "Find" over the bodies. The clock does not really sleep, so the
// designed waits of the download are left out and only the store, the naming and the file work
// remain. For each action it prints the seconds, the rows, the longest stretch between two turns of
// the event loop (what a user feels as a frozen window) and the peak memory of the process so far.
//
// With --gaps-over MS, each stretch longer than MS is printed as it ends, with the rows listed by
// then, to tell where in a run the window froze.
//
//   window_scale STORE.pst [--find TEXT] [--download N] [--gaps-over MS]

#include "app/express_window.h"
#include "app/main_window.h"
#include "pst/pff_mail_store.h"
#include "support/test_platform.h"

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using namespace qb;
using SteadyClock = std::chrono::steady_clock;

/// Times one action and the gaps between the event-loop turns it allows.
class ActionTimer {
  public:
    ActionTimer(test::ScriptedEventPump &events, std::function<int()> rows, double reportOver)
        : rows_(std::move(rows)), reportOver_(reportOver) {
        events.onEvents = [this] { turn(); };
    }

    void run(const char *name, const std::function<void()> &action,
             const std::function<int()> &shown) {
        start_ = last_ = SteadyClock::now();
        longestGap_ = {};
        action();
        turn();
        const std::chrono::duration<double> spent = SteadyClock::now() - start_;
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("%-10s %9d rows %9.2f s  longest gap %7.1f ms  peak %7.1f MB\n", name, shown(),
                    spent.count(), longestGap_.count(), usage.ru_maxrss / 1024.0);
        std::fflush(stdout);
    }

  private:
    void turn() {
        const SteadyClock::time_point now = SteadyClock::now();
        const std::chrono::duration<double, std::milli> gap = now - last_;
        longestGap_ = std::max(longestGap_, gap);
        if (reportOver_ > 0 && gap.count() > reportOver_)
            std::printf("  gap %7.1f ms after %.2f s, %d rows listed\n", gap.count(),
                        std::chrono::duration<double>(now - start_).count(), rows_());
        last_ = now;
    }

    std::function<int()> rows_;
    double reportOver_;
    SteadyClock::time_point start_, last_;
    std::chrono::duration<double, std::milli> longestGap_{};
};

/// Both windows over the scripted platform and the real mail-store layer, which lets the window's
/// events run while it opens a store, as the program's does.
struct Windows {
    test::TestPlatform fixture;
    test::TempFolder profile;
    test::TempFolder output;
    PffMailStoreLayer stores{profile.path(), &fixture.events};
    Platform platform = fixture.withMailStores(stores);
    Settings settings{fixture.settings, platform.messages};
    ExpressWindow form2{platform, settings};
    MainWindow form1{platform, settings, form2};
};

} // namespace

int main(int argc, char **argv) {
    std::string store, findText;
    int download = 0;
    double gapsOver = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--find") == 0 && i + 1 < argc)
            findText = argv[++i];
        else if (std::strcmp(argv[i], "--download") == 0 && i + 1 < argc)
            download = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--gaps-over") == 0 && i + 1 < argc)
            gapsOver = std::atof(argv[++i]);
        else
            store = std::filesystem::absolute(argv[i]);
    }
    if (store.empty()) {
        std::fprintf(stderr, "usage: window_scale STORE.pst [--find TEXT] [--download N] "
                             "[--gaps-over MS]\n");
        return 2;
    }
    Windows windows;
    MainWindow &form1 = windows.form1;
    form1.load();
    const auto rows = [&] { return form1.ListView1.rowCount(); };
    ActionTimer timer(windows.fixture.events, rows, gapsOver);

    form1.Option4.setValue(true);
    form1.Text2.setText(store);
    timer.run(
        "listing", [&] { form1.PushButton1.click(); }, rows);
    if (download > 0) {
        download = std::min(download, rows());
        for (int row = 1; row <= download; ++row)
            form1.ListView1.setChecked(row, true);
        form1.Option1.setValue(true);
        form1.Combo1.setListIndex(0); // "Checked Items"
        form1.Text3.setText(windows.output.path());
        timer.run(
            "download", [&] { form1.PushButton3.click(); }, [&] { return download; });
    }
    if (!findText.empty()) {
        form1.Text1.setText(findText);
        timer.run(
            "find", [&] { form1.PushButton2.click(); }, rows);
    }
    int reports = 0;
    for (const std::string &report : windows.fixture.reports())
        if (++reports <= 5)
            std::printf("report: %s\n", report.c_str());
    if (reports > 5)
        std::printf("... %d reports in all\n", reports);
    return 0;
}
