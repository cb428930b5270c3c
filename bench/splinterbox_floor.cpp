// Measures the converter against the physical floor of its work: writing the same bytes as the
// same number of new files. It writes a mailbox of 50 000 messages, converts it three times,
// then writes the converter's outputs again from memory three times with nothing but open,
// write and close, and compares the best times. Usage: splinterbox_floor [scratch folder].

#include "support/dbx_writer.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int messageCount = 50000;
constexpr std::size_t bodySize = 4096;
constexpr int runs = 3;
constexpr double allowedRatio = 1.25;
constexpr long memoryLimitKiB = 64 * 1024;

/// Header lines of the size real mail carries, then a 4 KB body.
std::string MessageText(int number) {
    std::string text;
    for (int hop = 0; hop < 4; ++hop)
        text += "Received: from relay" + std::to_string(hop) +
                ".example.net (relay.example.net [192.0.2." + std::to_string(hop) +
                "])\r\n\tby mx.example.org with ESMTPS id " + std::to_string(number * 4 + hop) +
                "\r\n\tfor <reader@example.org>; Mon, 3 Mar 2024 14:05:09 +0000\r\n";
    text += "From: \"Sender " + std::to_string(number) + "\" <sender@example.net>\r\n" +
            "To: reader@example.org\r\nSubject: Message number " + std::to_string(number) +
            "\r\nDate: Mon, 3 Mar 2024 14:05:09 +0000\r\nMIME-Version: 1.0\r\n" +
            "Content-Type: text/plain; charset=us-ascii\r\n\r\n";
    for (std::size_t i = 0; i < bodySize; ++i)
        text += (i % 78 == 76)   ? '\r'
                : (i % 78 == 77) ? '\n'
                                 : static_cast<char>('a' + (i + number) % 26);
    return text;
}

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

/// An empty folder, with the dirty pages of earlier runs written out so they do not slow this one.
void EmptyFolder(const fs::path &folder) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    ::sync();
}

/// Writes the mailbox in a function of its own, so that the writer's memory is given back before
/// the converter starts: the converter's peak memory as the kernel counts it includes the pages of
/// the process that started it, up to the moment it replaced itself with the converter.
void WriteMailbox(const std::string &dbx) {
    const auto writing = Clock::now();
    qb::test::DbxWriter writer(dbx);
    for (int number = 1; number <= messageCount; ++number)
        writer.add(MessageText(number));
    writer.finish();
    ::malloc_trim(0);
    std::printf("mailbox: %d messages, %.1f MB, written in %.2f s\n", messageCount,
                fs::file_size(dbx) / 1e6, Seconds(writing));
}

struct ConverterRun {
    double seconds = 0;
    long peakKiB = 0;
    int exitCode = -1;
};

/// The process's peak resident memory so far, 0 when it cannot be read.
long PeakKiB(pid_t process) {
    std::ifstream status("/proc/" + std::to_string(process) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

/// Runs the converter and watches its peak memory. The kernel's own count for a child
/// (wait4's ru_maxrss) includes this process's pages, which a child started by posix_spawn
/// shares until it runs the converter, so /proc is read while the converter runs instead.
ConverterRun RunConverter(const std::string &dbx, const fs::path &folder) {
    std::string program = QB_PROGRAM_DIR "/Splinterbox";
    std::string input = dbx;
    std::string output = folder.string();
    char *argv[] = {program.data(), input.data(), output.data(), nullptr};
    ConverterRun run;
    const auto start = Clock::now();
    pid_t child = 0;
    if (::posix_spawn(&child, argv[0], nullptr, nullptr, argv, environ) != 0)
        return run;
    int status = 0;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        run.peakKiB = std::max(run.peakKiB, PeakKiB(child));
        ::usleep(2000);
    }
    run.seconds = Seconds(start);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

struct File {
    std::string name;
    std::string bytes;
};

std::vector<File> ReadFolder(const fs::path &folder) {
    std::vector<File> files;
    for (const auto &entry : fs::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        files.push_back({entry.path().filename().string(),
                         std::string(std::istreambuf_iterator<char>(in), {})});
    }
    // In the converter's order, so both create the directory entries alike.
    std::sort(files.begin(), files.end(),
              [](const File &a, const File &b) { return a.name < b.name; });
    return files;
}

/// The floor: each file created, written in one call and closed, nothing else.
double WriteFiles(const std::vector<File> &files, const fs::path &folder) {
    const auto start = Clock::now();
    const int directory = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const File &file : files) {
        const int out =
            ::openat(directory, file.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (out < 0 || ::write(out, file.bytes.data(), file.bytes.size()) !=
                           static_cast<ssize_t>(file.bytes.size())) {
            std::fprintf(stderr, "cannot write %s: %s\n", file.name.c_str(), std::strerror(errno));
            std::exit(2);
        }
        ::close(out);
    }
    ::close(directory);
    return Seconds(start);
}

} // namespace

int main(int argc, char *argv[]) {
    const fs::path scratch = (argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path()) /
                             ("splinterbox-floor-" + std::to_string(::getpid()));
    fs::create_directories(scratch);
    const std::string dbx = (scratch / "Inbox.dbx").string();
    const fs::path output = scratch / "out";

    WriteMailbox(dbx);

    double converterBest = 1e9;
    long peakKiB = 0;
    for (int run = 0; run < runs; ++run) {
        EmptyFolder(output);
        const ConverterRun result = RunConverter(dbx, output);
        if (result.exitCode != 0) {
            std::fprintf(stderr, "the converter failed with exit code %d\n", result.exitCode);
            return 2;
        }
        std::printf("converter run %d: %.3f s, peak memory %.1f MB\n", run + 1, result.seconds,
                    result.peakKiB / 1024.0);
        converterBest = std::min(converterBest, result.seconds);
        peakKiB = std::max(peakKiB, result.peakKiB);
    }

    const std::vector<File> files = ReadFolder(output);
    std::size_t bytes = 0;
    for (const File &file : files)
        bytes += file.bytes.size();
    double floorBest = 1e9;
    for (int run = 0; run < runs; ++run) {
        EmptyFolder(output);
        const double seconds = WriteFiles(files, output);
        std::printf("floor run %d: %.3f s\n", run + 1, seconds);
        floorBest = std::min(floorBest, seconds);
    }
    fs::remove_all(scratch);

    const double ratio = converterBest / floorBest;
    std::printf("%zu files, %.1f MB; converter %.3f s, floor %.3f s, ratio %.2f (limit %.2f); "
                "peak memory %.1f MB (limit %.0f MB)\n",
                files.size(), bytes / 1e6, converterBest, floorBest, ratio, allowedRatio,
                peakKiB / 1024.0, memoryLimitKiB / 1024.0);
    return ratio <= allowedRatio && peakKiB < memoryLimitKiB && files.size() == messageCount ? 0
                                                                                             : 1;
}
