#include "cli/dbx_store_export.h"

#include "cli/message_names.h"
#include "cli/private_folder.h"
#include "export/output_names.h"
#include "express/eml_headers.h"
#include "failure/failure.h"
#include "failure/system_failure.h"
#include "mime/gmime_mime_reader.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/posix_program_runner.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace qb::cli {
namespace {

namespace fs = std::filesystem;

/// Converter exit codes: some messages could not be read whole; nothing could be read at all.
constexpr int messagesLost = 1;

/// Runs the converter and returns its exit code; throws Failure when it cannot be started.
int Convert(const std::string &converterPath, const std::string &dbxPath,
            const std::string &folder) {
    PosixProgramRunner runner;
    const ProgramStart start = runner.start({converterPath, dbxPath, folder});
    if (start.error != 0)
        throw SystemFailure(start.error, converterPath);
    // Short looks at first: most mailboxes are converted in a few milliseconds.
    auto pause = std::chrono::microseconds(200);
    for (;;) {
        if (const auto code = runner.exitCode(start.processId))
            return *code;
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::microseconds(20'000));
    }
}

/// The .eml files in the order the converter numbered them, which is the mailbox's order.
std::vector<std::string> EmlFiles(const std::string &folder) {
    std::vector<std::string> files;
    for (const auto &entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".eml")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

void ExportMessage(const std::string &emlPath, const std::string &where, GmimeMimeReader &mime,
                   ExportTarget &target) {
    PosixFileSystem files;
    exporting::ExpressRecordFields fields;
    try {
        const std::string raw = express::ReadWholeFile(files, emlPath);
        fields = {express::GetHeaderValue(raw, "From"), express::GetHeaderValue(raw, "To"),
                  express::GetHeaderValue(raw, "Subject"), express::GetHeaderValue(raw, "Date")};
        const std::string record = exporting::ExpressRecord(fields, mime.textBody(emlPath));
        target.output.message(record,
                              MessageStem(MailDateTime(fields.dateReceived), fields.subject),
                              where + ": \"" + fields.subject + "\"");
    } catch (const Failure &failure) {
        target.output.failed(where + ": \"" + fields.subject + "\"", failure.description());
    }
}

} // namespace

void ExportDbxStore(const std::string &path, const std::string &converterPath,
                    ExportTarget &target) {
    const std::string folderName = fs::path(path).stem().string();
    if (!target.takes(folderName, folderName))
        return;
    try {
        PrivateFolder folder;
        const int code = Convert(converterPath, path, folder.path());
        if (code == messagesLost)
            target.output.failed(path, "some messages are damaged and were not written");
        else if (code != 0)
            throw Failure(code, "Splinterbox",
                          "cannot be converted (the converter ended with " + std::to_string(code) +
                              ")");
        GmimeMimeReader mime;
        for (const std::string &eml : EmlFiles(folder.path()))
            ExportMessage(eml, path + ": " + folderName, mime, target);
    } catch (const Failure &failure) {
        target.output.failed(path, failure.description());
    } catch (const fs::filesystem_error &error) {
        target.output.failed(path, error.what());
    }
}

} // namespace qb::cli
