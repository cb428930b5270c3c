// Appends 100 000 message rows to a shown list one by one, letting window events run after
// each row as the folder walk does, then shows the last of them. Reports the time and the
// memory each row costs beyond its text.

#include "platform/controls/list_view.h"
#include "platform/qt/list_view_widget.h"

#include <QApplication>
#include <QElapsedTimer>

#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int rowCount = 100000;
constexpr double timeLimitSeconds = 1.0;
constexpr double memoryLimitBytes = 400.0;

std::vector<std::string> messageRow(int number) {
    const std::string n = std::to_string(number);
    return {"Personal Folders",
            "Inbox",
            number % 3 ? "Projects 2021" : "",
            "8/31/2021 2:05:09 PM",
            "Jane Doe",
            "jane.doe" + n + "@example.com",
            number % 5 ? "" : "figures.xlsx; report.pdf",
            "Re: Quarterly figures for the northern region, item " + n,
            "00000000A3B1C9D2E3F4051627384950617283940700" + n};
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);

    qb::ListView list("ListView1", {120, 3030, 7800, 1725});
    const char *const headers[] = {"Root",  "Folder",      "Subfolder", "Date", "From/To",
                                   "Email", "Attachments", "Subject",   "ID"};
    const int widths[] = {2000, 2000, 2000, 1500, 1900, 2000, 1500, 7000, 1};
    for (int column = 0; column < 9; ++column)
        list.addColumn(headers[column], widths[column]);
    qb::ListViewWidget view(list);
    view.resize(520, 115);
    view.show();
    QApplication::processEvents();

    const std::size_t heapBefore = heapInUse();
    std::size_t textBytes = 0;
    QElapsedTimer timer;
    timer.start();
    for (int number = 1; number <= rowCount; ++number) {
        const std::vector<std::string> cells = messageRow(number);
        for (const std::string &cell : cells)
            textBytes += cell.size() + 1;
        list.addRow(cells);
        QApplication::processEvents();
    }
    list.refresh();
    view.scrollToBottom();
    view.repaint();
    QApplication::processEvents();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double bytesPerRow =
        (static_cast<double>(heapInUse() - heapBefore) - static_cast<double>(textBytes)) / rowCount;

    std::printf("rows shown: %d of %d\n", view.model()->rowCount(), list.rowCount());
    std::printf("append and show %d rows: %.3f s (limit %.1f s)\n", rowCount, seconds,
                timeLimitSeconds);
    std::printf("text per row: %.1f bytes; memory per row beyond the text: %.1f bytes "
                "(limit %.0f)\n",
                static_cast<double>(textBytes) / rowCount, bytesPerRow, memoryLimitBytes);
    const bool passed = seconds < timeLimitSeconds && bytesPerRow < memoryLimitBytes &&
                        view.model()->rowCount() == rowCount;
    std::printf("%s\n", passed ? "PASS" : "FAIL");
    return passed ? 0 : 1;
}
