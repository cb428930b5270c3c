#include "mime/message_parts.h"

#include "failure/failure.h"
#include "mime/gmime_objects.h"
#include "mime/gmime_setup.h"
#include "text/html_to_text.h"
#include "text/plain_text.h"

#include <vector>

namespace qb {
namespace {

constexpr const char *partsSource = "MimeReader";
constexpr std::string_view replacementCharacter = "\xEF\xBF\xBD";

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
std::string DecodedContent(GMimePart *part, const std::string &name) {
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
        throw Failure(error_number::invalidProcedureCall, partsSource,
                      "Cannot decode the message body" + (name.empty() ? "" : " of " + name));
    const GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
    return std::string(reinterpret_cast<const char *>(bytes->data), bytes->len);
}

/// One run of text without NUL bytes, as UTF-8.
std::string PieceAsUtf8(std::string_view piece) {
    if (g_utf8_validate(piece.data(), static_cast<gssize>(piece.size()), nullptr))
        return std::string(piece);
    const std::unique_ptr<char, GFreeRelease> decoded(
        g_mime_utils_decode_8bit(nullptr, piece.data(), piece.size()));
    return decoded ? std::string(decoded.get()) : std::string();
}

/// Notes whether GMime gave up on a part of the message, which then lacks what lay below it.
void NoteCriticalIssue(gint64, GMimeParserWarning issue, const gchar *, gpointer cut) {
    if (issue == GMIME_CRIT_NESTING_OVERFLOW || issue == GMIME_CRIT_PART_WITHOUT_HEADERS_OR_CONTENT)
        *static_cast<bool *>(cut) = true;
}

} // namespace

std::string AsUtf8(std::string_view text) {
    // The 8-bit decoder and the UTF-8 check stop at a NUL byte, which would lose all text after
    // it; each run between NULs is read on its own.
    std::string result;
    result.reserve(text.size());
    for (;;) {
        const std::size_t nul = text.find('\0');
        result += PieceAsUtf8(text.substr(0, nul));
        if (nul == std::string_view::npos)
            return result;
        result += replacementCharacter;
        text.remove_prefix(nul + 1);
    }
}

std::optional<MessageText> ReadParsedText(GMimeStream *stream, const std::string &name) {
    InitialiseGmimeOnce();
    bool cut = false;
    const std::unique_ptr<GMimeParserOptions, void (*)(GMimeParserOptions *)> options(
        g_mime_parser_options_new(), g_mime_parser_options_free);
    g_mime_parser_options_set_warning_callback(options.get(), NoteCriticalIssue, &cut);
    GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream));
    GObjectPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), options.get()));
    if (!message)
        return std::nullopt;
    GMimeObject *top = g_mime_message_get_mime_part(message.get());
    if (top == nullptr)
        return MessageText{std::string(), cut ? TextSource::RawBody : TextSource::NoTextPart};
    if (GMimePart *plain = FirstTextPart(top, "plain"))
        return MessageText{WithCrLf(AsUtf8(DecodedContent(plain, name))), TextSource::PlainPart};
    if (GMimePart *html = FirstTextPart(top, "html"))
        return MessageText{WithCrLf(HtmlToText(AsUtf8(DecodedContent(html, name)))),
                           TextSource::HtmlPart};
    return MessageText{std::string(), cut ? TextSource::RawBody : TextSource::NoTextPart};
}

} // namespace qb
