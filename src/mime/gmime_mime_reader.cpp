#include "mime/gmime_mime_reader.h"

#include "failure/failure.h"
#include "text/html_to_text.h"
#include "text/plain_text.h"

#include <gmime/gmime.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

namespace qb {
namespace {

constexpr const char *readerSource = "MimeReader";

struct GObjectRelease {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename Object> using GObjectPtr = std::unique_ptr<Object, GObjectRelease>;

struct GFreeRelease {
    void operator()(gpointer memory) const { g_free(memory); }
};

Failure ReadFailure(int error, const std::string &path) {
    std::int32_t number = error_number::pathNotFound;
    if (error == ENOENT)
        number = error_number::fileNotFound;
    else if (error == EACCES || error == EPERM)
        number = error_number::permissionDenied;
    return Failure(number, readerSource,
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

bool IsTextPart(GMimeObject *object, const char *subtype) {
    return GMIME_IS_TEXT_PART(object) && !g_mime_part_is_attachment(GMIME_PART(object)) &&
           g_mime_content_type_is_type(g_mime_object_get_content_type(object), "text", subtype);
}

/// The first text part of that subtype in document order, looking into multiparts but not into
/// attached messages, whose bodies are not this message's text.
GMimePart *FirstTextPart(GMimeObject *top, const char *subtype) {
    // An explicit stack: a message may nest multiparts deeper than the call stack would bear.
    std::vector<GMimeObject *> pending{top};
    while (!pending.empty()) {
        GMimeObject *object = pending.back();
        pending.pop_back();
        if (IsTextPart(object, subtype))
            return GMIME_PART(object);
        if (!GMIME_IS_MULTIPART(object))
            continue;
        GMimeMultipart *multipart = GMIME_MULTIPART(object);
        for (int index = g_mime_multipart_get_count(multipart) - 1; index >= 0; --index)
            pending.push_back(g_mime_multipart_get_part(multipart, index));
    }
    return nullptr;
}

/// The part's content with its transfer encoding undone and, when its charset is known, as UTF-8.
std::string DecodedContent(GMimePart *part, const std::string &path) {
    GMimeDataWrapper *content = g_mime_part_get_content(part);
    if (content == nullptr)
        return std::string();
    GObjectPtr<GMimeStream> memory(g_mime_stream_mem_new());
    GObjectPtr<GMimeStream> converted;
    GMimeStream *target = memory.get();
    const char *charset = g_mime_object_get_content_type_parameter(GMIME_OBJECT(part), "charset");
    if (charset != nullptr) {
        if (GMimeFilter *filter = g_mime_filter_charset_new(charset, "UTF-8")) {
            converted.reset(g_mime_stream_filter_new(memory.get()));
            g_mime_stream_filter_add(GMIME_STREAM_FILTER(converted.get()), filter);
            g_object_unref(filter);
            target = converted.get();
        }
    }
    if (g_mime_data_wrapper_write_to_stream(content, target) < 0 || g_mime_stream_flush(target) < 0)
        throw Failure(error_number::invalidProcedureCall, readerSource,
                      "Cannot decode the message body of " + path);
    const GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
    return std::string(reinterpret_cast<const char *>(bytes->data), bytes->len);
}

/// The text as UTF-8: unchanged when it is valid UTF-8 already, else read in the 8-bit charset
/// GMime finds likeliest (no charset, or one iconv does not know).
std::string AsUtf8(std::string text) {
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr))
        return text;
    const std::unique_ptr<char, GFreeRelease> decoded(
        g_mime_utils_decode_8bit(nullptr, text.data(), text.size()));
    return decoded ? std::string(decoded.get()) : std::string();
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
    GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GObjectPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message)
        throw Failure(error_number::invalidProcedureCall, readerSource,
                      "The file " + path + " is not a mail message");
    GMimeObject *top = g_mime_message_get_mime_part(message.get());
    if (top == nullptr)
        return std::string();
    if (GMimePart *plain = FirstTextPart(top, "plain"))
        return WithCrLf(AsUtf8(DecodedContent(plain, path)));
    if (GMimePart *html = FirstTextPart(top, "html"))
        return WithCrLf(HtmlToText(AsUtf8(DecodedContent(html, path))));
    return std::string();
}

} // namespace qb
