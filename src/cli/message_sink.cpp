#include "cli/message_sink.h"

#include "export/output_names.h"
#include "platform/linux/posix_file_system.h"
#include "platform/linux/system_failure.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace qb::cli {
namespace {

/// The name AllEmails.txt without its ending, which OutputFolder adds back.
std::string CombinedStem() {
    const std::string name = exporting::combinedFileName;
    return name.substr(0, name.size() - 4);
}

} // namespace

void SeparateFiles::addFile(const std::string &staged, const std::string &stem) {
    try {
        folder_.place(staged, stem);
    } catch (...) {
        ::unlink(staged.c_str());
        throw;
    }
}

void SeparateFiles::addText(const std::string &text, const std::string &stem) {
    const std::string staged = folder_.stagingPath();
    WriteFileSafely(staged, text);
    addFile(staged, stem);
}

CombinedFile::CombinedFile(OutputFolder &folder) : folder_(folder), staged_(folder.stagingPath()) {
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

void CombinedFile::append(const char *bytes, std::size_t size) {
    if (std::fwrite(bytes, 1, size, file_) != size)
        throw SystemFailure(errno, staged_);
}

void CombinedFile::addFile(const std::string &staged, const std::string &) {
    // Copied in pieces, so that a long message costs no more memory than a short one.
    std::FILE *text = std::fopen(staged.c_str(), "rb");
    if (!text) {
        const int error = errno;
        ::unlink(staged.c_str());
        throw SystemFailure(error, staged);
    }
    char buffer[1 << 16];
    std::size_t count = 0;
    bool failed = false;
    while (!failed && (count = std::fread(buffer, 1, sizeof buffer, text)) > 0)
        failed = std::fwrite(buffer, 1, count, file_) != count;
    const int error = errno;
    failed = failed || std::ferror(text);
    std::fclose(text);
    ::unlink(staged.c_str());
    if (failed)
        throw SystemFailure(error, staged_);
}

void CombinedFile::addText(const std::string &text, const std::string &) {
    append(text.data(), text.size());
}

void CombinedFile::finish() {
    std::FILE *file = std::exchange(file_, nullptr);
    const bool written = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    const int error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        ::unlink(staged_.c_str());
        throw SystemFailure(written ? errno : error, staged_);
    }
    try {
        folder_.place(staged_, CombinedStem());
    } catch (...) {
        ::unlink(staged_.c_str());
        throw;
    }
}

std::unique_ptr<MessageSink> MakeSink(OutputFolder &folder, bool oneFile) {
    if (oneFile)
        return std::make_unique<CombinedFile>(folder);
    return std::make_unique<SeparateFiles>(folder);
}

} // namespace qb::cli
