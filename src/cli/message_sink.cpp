#include "cli/message_sink.h"

#include "export/output_names.h"
#include "failure/failure.h"
#include "failure/system_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <unistd.h>

namespace qb::cli {
namespace {

/// Staged files waiting for one sync; bounds both the sync count and the waiting list.
constexpr std::size_t stagedBatch = 512;

/// The name AllEmails.txt without its ending, which OutputFolder adds back.
std::string CombinedStem() {
    const std::string name = exporting::combinedFileName;
    return name.substr(0, name.size() - 4);
}

} // namespace

SeparateFiles::~SeparateFiles() {
    for (const Staged &file : staged_)
        ::unlink(file.path.c_str());
}

void SeparateFiles::add(const std::string &text, const std::string &stem,
                        const std::string &where) {
    try {
        staged_.push_back({folder_.stage(text), stem, where});
    } catch (const Failure &failure) {
        report_.failed(where, failure.description());
        return;
    }
    if (staged_.size() >= stagedBatch)
        placeStaged();
}

void SeparateFiles::placeStaged() {
    std::vector<Staged> batch = std::move(staged_);
    staged_.clear();
    std::optional<Failure> unsynced;
    try {
        folder_.sync();
    } catch (const Failure &failure) {
        unsynced = failure;
    }
    for (const Staged &file : batch) {
        try {
            if (unsynced)
                throw *unsynced;
            folder_.place(file.path, file.stem);
            report_.messageWritten();
        } catch (const Failure &failure) {
            ::unlink(file.path.c_str());
            report_.failed(file.where, failure.description());
        }
    }
}

CombinedFile::CombinedFile(OutputFolder &folder, RunReport &report)
    : folder_(folder), report_(report), staged_(folder.stagingPath()) {
    const int descriptor =
        ::open(staged_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (descriptor < 0)
        throw SystemFailure(errno, staged_);
    file_ = ::fdopen(descriptor, "wb");
    if (!file_) {
        const int error = errno;
        ::close(descriptor);
        ::unlink(staged_.c_str());
        throw SystemFailure(error, staged_);
    }
}

CombinedFile::~CombinedFile() {
    if (file_) {
        std::fclose(file_);
        ::unlink(staged_.c_str());
    }
}

void CombinedFile::add(const std::string &text, const std::string &, const std::string &where) {
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
        report_.failed(where, SystemFailure(errno, staged_).description());
        return;
    }
    report_.messageWritten();
}

void CombinedFile::finish() {
    std::FILE *file = std::exchange(file_, nullptr);
    const bool written = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    try {
        if (!written || !closed)
            throw SystemFailure(written ? errno : error, staged_);
        folder_.place(staged_, CombinedStem());
    } catch (const Failure &failure) {
        ::unlink(staged_.c_str());
        report_.failed(folder_.path() + "/" + exporting::combinedFileName, failure.description());
    }
}

std::unique_ptr<MessageSink> MakeSink(OutputFolder &folder, RunReport &report, bool oneFile) {
    if (oneFile)
        return std::make_unique<CombinedFile>(folder, report);
    return std::make_unique<SeparateFiles>(folder, report);
}

} // namespace qb::cli
