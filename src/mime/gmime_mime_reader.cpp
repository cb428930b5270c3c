#include "mime/gmime_mime_reader.h"

#include "failure/failure.h"
#include "failure/system_failure.h"
#include "mime/gmime_objects.h"
#include "mime/message_parts.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace qb {
namespace {

constexpr const char *readerSource = "MimeReader";

Failure ReadFailure(int error, const std::string &path) {
    return Failure(SystemErrorNumber(error, path), readerSource,
                   "Cannot read the message file " + path + ": " + std::strerror(error));
}

/// A stream over the file, which it owns from then on.
GObjectPtr<GMimeStream> OpenMessageFile(const std::string &path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        throw ReadFailure(errno, path);
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(descriptor);
        throw ReadFailure(error, path);
    }
    return GObjectPtr<GMimeStream>(g_mime_stream_fs_new(descriptor));
}

} // namespace

void InitialiseGmimeOnce() {
    static const bool initialised = [] {
        g_mime_init();
        return true;
    }();
    (void)initialised;
}

std::string GmimeMimeReader::textBody(const std::string &path) {
    // Set up on first use rather than at start-up: most runs of the program read no .eml file.
    InitialiseGmimeOnce();
    GObjectPtr<GMimeStream> stream = OpenMessageFile(path);
    const std::optional<MessageText> read = ReadParsedText(stream.get(), path);
    if (!read)
        throw Failure(error_number::invalidProcedureCall, readerSource,
                      "The file " + path + " is not a mail message");
    return read->text;
}

} // namespace qb
