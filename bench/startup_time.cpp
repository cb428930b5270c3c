// Starts the program repeatedly under an X server (run it as `xvfb-run build/bench/startup_time`)
// and reports the time from starting the process to the mapping of its main window, when the
// server asks it for its first paint. The program is watched from outside, as a user sees it.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <xcb/xcb.h>

#include <poll.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int runs = 11;
constexpr double limitMilliseconds = 300.0;
constexpr int waitMilliseconds = 10000;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// Waits until a window is mapped on the screen's root; the event's time comes from the timer.
std::optional<double> millisecondsToFirstMap(xcb_connection_t *connection,
                                             const QElapsedTimer &timer) {
    pollfd watch{xcb_get_file_descriptor(connection), POLLIN, 0};
    while (timer.elapsed() < waitMilliseconds) {
        while (xcb_generic_event_t *raw = xcb_poll_for_event(connection)) {
            const std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(raw, &std::free);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            // Menus and tooltips are mapped without the window manager; the main window is not.
            if (!reinterpret_cast<xcb_map_notify_event_t *>(event.get())->override_redirect)
                return static_cast<double>(timer.nsecsElapsed()) / 1e6;
        }
        if (xcb_connection_has_error(connection))
            return std::nullopt;
        poll(&watch, 1, 50);
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::printf("no X display: run this under xvfb-run\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const QString program = QStringLiteral(QB_PROGRAM_DIR "/quillbarrow");
    // A fresh home: no settings, no mail stores, as on a first start.
    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    environment.remove("XDG_CONFIG_HOME");
    environment.remove("QT_QPA_PLATFORM");

    std::vector<double> toMap;
    for (int run = 0; run < runs; ++run) {
        QProcess process;
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        const std::optional<double> mapped = millisecondsToFirstMap(connection, timer);
        process.kill();
        process.waitForFinished();
        if (!mapped) {
            std::printf("the program showed no window: %s\n", qPrintable(process.errorString()));
            return 1;
        }
        toMap.push_back(*mapped);
    }
    xcb_disconnect(connection);
    std::printf("process start to the main window's first map, median of %d: %.1f ms\n", runs,
                median(toMap));
    const bool passed = median(toMap) < limitMilliseconds;
    std::printf("%s (limit %.0f ms)\n", passed ? "PASS" : "FAIL", limitMilliseconds);
    return passed ? 0 : 1;
}
