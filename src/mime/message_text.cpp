#include "mime/message_text.h"

#include "mime/gmime_objects.h"
#include "mime/message_parts.h"
#include "text/plain_text.h"

namespace qb {
namespace {

/// What follows the first empty line, which ends the header lines; nothing when there is none.
std::string_view BodyAfterHeaders(std::string_view message) {
    const std::size_t crLf = message.find("\r\n\r\n");
    const std::size_t lf = message.find("\n\n");
    if (crLf != std::string_view::npos && (lf == std::string_view::npos || crLf < lf))
        return message.substr(crLf + 4);
    return lf == std::string_view::npos ? std::string_view() : message.substr(lf + 2);
}

} // namespace

MessageText ReadMessageText(std::string_view message) {
    GObjectPtr<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(message.data(), message.size()));
    std::optional<MessageText> read = ReadParsedText(stream.get(), std::string());
    if (!read)
        return {WithCrLf(AsUtf8(message)), TextSource::WholeMessage};
    if (read->source == TextSource::RawBody)
        read->text = WithCrLf(AsUtf8(BodyAfterHeaders(message)));
    return std::move(*read);
}

} // namespace qb
