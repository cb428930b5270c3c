// Reads 50 000 generated .eml files of about 4 KB into the Outlook Express message list, then
// writes a record for each of them into one combined file as the one-file download does: the
// text body read through GMime, the record built and appended. Reports both times, as wall
// time and as the processor time of the program, which other work on the machine barely
// changes. A folder given as the argument keeps the files for the next run, which skips making
// them.

#include "express/eml_messages.h"
#include "export/file_utilities.h"
#include "export/output_names.h"
#include "mime/gmime_mime_reader.h"
#include "platform/linux/posix_file_system.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int messageCount = 50000;
constexpr double readLimitSeconds = 2.0;
constexpr double writeLimitSeconds = 10.0;

/// A message of about 4 KB: the four listed headers among others, and a quoted-printable body.
std::string Message(int number) {
    const std::string n = std::to_string(number);
    std::string text = "Return-Path: <jane.doe@example.com>\r\n"
                       "Received: from mail.example.com by mx.example.net; Mon, 4 Mar 2024\r\n"
                       "From: \"Jane Doe\" <jane.doe@example.com>\r\n"
                       "To: \"Northern Region\" <north@example.net>\r\n"
                       "Subject: Re: Quarterly figures, item " +
                       n +
                       "\r\n"
                       "Date: Mon, 4 Mar 2024 10:00:00 +0000\r\n"
                       "Message-ID: <" +
                       n +
                       "@example.com>\r\n"
                       "MIME-Version: 1.0\r\n"
                       "Content-Type: text/plain; charset=iso-8859-1\r\n"
                       "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    while (text.size() < 4000)
        text +=
            "The figures for the region are attached; caf=E9 meeting at ten, item " + n + ".\r\n";
    return text;
}

/// Wall and processor seconds since a start.
struct Timing {
    Clock::time_point wall = Clock::now();
    std::clock_t processor = std::clock();
    double wallSeconds() const {
        return std::chrono::duration<double>(Clock::now() - wall).count();
    }
    double processorSeconds() const {
        return static_cast<double>(std::clock() - processor) / CLOCKS_PER_SEC;
    }
};

void MakeMessages(const fs::path &folder) {
    fs::create_directories(folder / "out");
    if (fs::exists(folder / ("message" + std::to_string(messageCount) + ".eml")))
        return;
    for (int number = 1; number <= messageCount; ++number)
        std::ofstream(folder / ("message" + std::to_string(number) + ".eml"), std::ios::binary)
            << Message(number);
}

} // namespace

int main(int argc, char *argv[]) {
    const bool keep = argc > 1;
    const fs::path folder =
        keep ? fs::path(argv[1]) : fs::temp_directory_path() / "quillbarrow-eml-bench";
    if (!keep)
        fs::remove_all(folder);
    MakeMessages(folder);

    qb::PosixFileSystem files;
    qb::ListView list("ListView2", {120, 4860, 7800, 2115});
    std::vector<std::string> names;
    const Timing reading;
    qb::express::LoadEmlMessages(files, folder.string(), list, names);
    const double readSeconds = reading.wallSeconds();
    const double readProcessorSeconds = reading.processorSeconds();

    qb::GmimeMimeReader reader;
    const std::string combined = (folder / "out" / "all.txt").string();
    const Timing writing;
    for (int row = 1; row <= list.rowCount(); ++row) {
        const std::string body = reader.textBody(folder.string() + "/" + names[row - 1]);
        const qb::exporting::ExpressRecordFields fields{
            std::string(list.text(row)), std::string(list.subItem(row, 1)),
            std::string(list.subItem(row, 2)), std::string(list.subItem(row, 3))};
        qb::exporting::WriteOrAppendTextFile(files, qb::exporting::ExpressRecord(fields, body),
                                             combined, row);
    }
    const double writeSeconds = writing.wallSeconds();
    const double writeProcessorSeconds = writing.processorSeconds();
    const auto combinedBytes = fs::file_size(combined);
    if (!keep)
        fs::remove_all(folder);

    std::printf("rows listed: %d of %d\n", list.rowCount(), messageCount);
    std::printf("read %d .eml files into the list: %.3f s, processor %.3f s (limit %.1f s)\n",
                messageCount, readSeconds, readProcessorSeconds, readLimitSeconds);
    std::printf("write %d records into one file (%.1f MB): %.3f s, processor %.3f s "
                "(limit %.1f s)\n",
                messageCount, static_cast<double>(combinedBytes) / 1e6, writeSeconds,
                writeProcessorSeconds, writeLimitSeconds);
    const bool passed = list.rowCount() == messageCount && readSeconds < readLimitSeconds &&
                        writeSeconds < writeLimitSeconds;
    std::printf("%s\n", passed ? "PASS" : "FAIL");
    return passed ? EXIT_SUCCESS : EXIT_FAILURE;
}
