#include "cli/dbx_store_export.h"

#include "cli/message_names.h"
#include "cli/private_folder.h"
#include "dbx/conversion.h"
#include "export/output_names.h"
#include "express/eml_headers.h"
#include "failure/failure.h"
#include "failure/system_failure.h"
#include "mime/message_text.h"
#include "platform/linux/posix_program_runner.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <tuple>

namespace qb::cli {
namespace {

namespace fs = std::filesystem;

/// Converter exit codes: some messages could not be read whole; nothing could be read at all.
constexpr int messagesLost = 1;

bool StopRequested(const ExportTarget &target) {
    return target.stopRequested && target.stopRequested();
}

/// Runs the converter and returns its exit code; throws Failure when it cannot be started. When
/// the run is asked to stop, the converter is asked to end too and is waited for.
int Convert(const std::string &converterPath, const std::string &dbxPath, const std::string &folder,
            const ExportTarget &target) {
    PosixProgramRunner runner;
    const ProgramStart start = runner.start({converterPath, dbxPath, folder});
    if (start.error != 0)
        throw SystemFailure(start.error, converterPath);
    bool stopSent = false;
    // Short looks at first: most mailboxes are converted in a few milliseconds.
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (const auto code = runner.exitCode(start.processId))
            return *code;
        if (!stopSent && StopRequested(target))
            stopSent = ::kill(start.processId, SIGTERM) == 0;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20'000));
    }
}

/// A converter's file name read as its message number and copy number, if it is one.
std::optional<std::pair<std::uint64_t, std::uint64_t>> MessageNumbers(std::string_view name,
                                                                      std::string_view stem) {
    if (!name.starts_with(stem) || !name.ends_with(".eml") || name.size() < stem.size() + 5 ||
        name[stem.size()] != '-')
        return std::nullopt;
    const std::string_view digits = name.substr(stem.size() + 1, name.size() - stem.size() - 5);
    std::uint64_t number = 0;
    std::uint64_t copy = 1;
    const char *end = digits.data() + digits.size();
    auto read = std::from_chars(digits.data(), end, number);
    if (read.ec != std::errc() || read.ptr == digits.data())
        return std::nullopt;
    if (read.ptr != end) {
        if (*read.ptr != '-')
            return std::nullopt;
        const char *copyStart = read.ptr + 1;
        read = std::from_chars(copyStart, end, copy);
        if (read.ec != std::errc() || read.ptr != end || read.ptr == copyStart)
            return std::nullopt;
    }
    return std::make_pair(number, copy);
}

/// The converted message's bytes. A failure describes the system's error alone: the path is
/// the private folder's, gone once the mailbox is done, so it would tell the user nothing.
std::string ReadConvertedMessage(const std::string &path) {
    const auto failure = [&](int error) {
        return Failure(SystemErrorNumber(error, path), "quillbarrow-export",
                       std::string("the converted message cannot be read: ") +
                           std::strerror(error));
    };
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw failure(errno != 0 ? errno : ENOENT);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw failure(EIO);
    return bytes;
}

void ExportMessage(const std::string &emlPath, const std::string &where, ExportTarget &target) {
    exporting::ExpressRecordFields fields;
    try {
        const std::string raw = ReadConvertedMessage(emlPath);
        fields = {express::GetHeaderValue(raw, "From"), express::GetHeaderValue(raw, "To"),
                  express::GetHeaderValue(raw, "Subject"), express::GetHeaderValue(raw, "Date")};
        const std::string record = exporting::ExpressRecord(fields, ReadMessageText(raw).text);
        target.output.message(record,
                              MessageStem(MailDateTime(fields.dateReceived), fields.subject),
                              where + " \"" + fields.subject + "\"");
    } catch (const Failure &failure) {
        target.output.failed(where + (fields.subject.empty() ? "" : " \"" + fields.subject + "\""),
                             failure.description());
    }
}

} // namespace

std::vector<std::string> InMailboxOrder(std::vector<std::string> names, const std::string &stem) {
    using Key = std::tuple<bool, std::uint64_t, std::uint64_t, std::string>;
    std::vector<std::pair<Key, std::string>> keyed;
    keyed.reserve(names.size());
    for (std::string &name : names) {
        const auto numbers = MessageNumbers(name, stem);
        Key key{!numbers, numbers ? numbers->first : 0, numbers ? numbers->second : 0, name};
        keyed.emplace_back(std::move(key), std::move(name));
    }
    std::sort(keyed.begin(), keyed.end());
    names.clear();
    for (auto &[key, name] : keyed)
        names.push_back(std::move(name));
    return names;
}

void ExportDbxStore(const std::string &path, const std::string &converterPath,
                    ExportTarget &target) {
    const std::string folderName = fs::path(path).stem().string();
    if (!target.takes(folderName, folderName))
        return;
    try {
        PrivateFolder folder;
        const int code = Convert(converterPath, path, folder.path(), target);
        if (StopRequested(target))
            return;
        if (code == messagesLost)
            target.output.failed(path, "some messages are damaged and were not written");
        else if (code != 0)
            throw Failure(code, "Splinterbox",
                          "cannot be converted (the converter ended with " + std::to_string(code) +
                              ")");
        const std::string stem = dbx::FileStemFor(path);
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(folder.path()))
            if (entry.path().extension() == ".eml")
                names.push_back(entry.path().filename().string());
        for (const std::string &name : InMailboxOrder(std::move(names), stem)) {
            if (StopRequested(target))
                return;
            const auto numbers = MessageNumbers(name, stem);
            const std::string number = numbers ? std::to_string(numbers->first) : name;
            ExportMessage(folder.path() + "/" + name,
                          path + ": " + folderName + ": message " + number, target);
        }
    } catch (const Failure &failure) {
        target.output.failed(path, failure.description());
    } catch (const fs::filesystem_error &error) {
        target.output.failed(path, error.what());
    }
}

} // namespace qb::cli
