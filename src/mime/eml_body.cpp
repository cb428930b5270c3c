#include "mime/eml_body.h"

#include "mail/message_reading.h"
#include "mime/backed_stream.h"
#include "text/codepage.h"
#include "text/html_to_text.h"
#include "text/plain_text.h"
#include "text/rtf_text.h"

#include <algorithm>
#include <cstring>

namespace qb::mime {
namespace {

constexpr int utf8Codepage = 65001;
constexpr int asciiCodepage = 20127;

/// The bytes of a text the stream reads from the text itself.
class TextBackend : public ReadBackend {
  public:
    explicit TextBackend(std::string text) : text_(std::move(text)) {}
    ssize_t read(char *buffer, std::size_t size) override {
        const std::size_t count = std::min(size, text_.size() - at_);
        std::memcpy(buffer, text_.data() + at_, count);
        at_ += count;
        atEnd_ = count == 0;
        return static_cast<ssize_t>(count);
    }
    bool atEnd() override { return atEnd_; }
    int reset() override {
        at_ = 0;
        atEnd_ = false;
        return 0;
    }

  private:
    std::string text_;
    std::size_t at_ = 0;
    bool atEnd_ = false;
};

/// The text with every line end (CR LF, CR) as LF, changed in place: GMime writes each LF as the
/// CR LF of the message.
void UseLfLineEnds(std::string &text) {
    std::size_t to = 0;
    for (std::size_t from = 0; from < text.size(); ++from) {
        if (text[from] == '\r') {
            text[to++] = '\n';
            if (from + 1 < text.size() && text[from + 1] == '\n')
                ++from;
        } else {
            text[to++] = text[from];
        }
    }
    text.resize(to);
}

/// The HTML body as UTF-8. ASCII that is not ASCII is taken for the UTF-8 or windows-1252 it is.
std::string HtmlAsUtf8(mail::HtmlBody body, PartReader &reader) {
    std::string bytes = mail::WithoutTrailingNuls(std::move(body.bytes));
    if ((body.codepage == utf8Codepage || body.codepage == asciiCodepage) && IsValidUtf8(bytes))
        return bytes;
    if (body.codepage == asciiCodepage)
        return CodepageToUtf8(bytes, defaultCodepage);
    if (!IsKnownCodepage(body.codepage))
        reader.problem("HTML body", "its code page " + std::to_string(body.codepage) +
                                        " is not known: it is read as windows-1252");
    return CodepageToUtf8(bytes, body.codepage);
}

/// The text of the HTML; empty, a problem, when the HTML cannot be read.
std::string HtmlText(const std::string &html, PartReader &reader) {
    try {
        return HtmlToText(html);
    } catch (const Failure &failure) {
        reader.problem("HTML body",
                       "it cannot be turned into plain text: " + failure.description());
        return {};
    }
}

void SetContent(GMimePart *part, GMimeStream *stream) {
    GObjectPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream, GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.get());
}

bool EndsContentId(char c) {
    return c == '"' || c == '\'' || c == ')' || c == '>' || c == '<' || c == ' ' || c == '\t' ||
           c == '\r' || c == '\n';
}

} // namespace

MessageBodies ReadBodies(mail::Message &message, PartReader &reader) {
    MessageBodies bodies;
    bodies.plain = reader.read("plain-text body", [&] { return message.plainBody(); }).value_or("");
    if (auto html = reader.read("HTML body", [&] { return message.htmlBody(); }))
        if (std::string text = HtmlAsUtf8(std::move(*html), reader); !text.empty())
            bodies.html = std::move(text);
    if (bodies.html && bodies.plain.empty())
        bodies.plain = HtmlText(*bodies.html, reader);
    if (bodies.html && !bodies.plain.empty())
        return bodies;
    const auto rtf = reader.read("RTF body", [&] { return message.rtfBody(); });
    if (!rtf)
        return bodies;
    std::optional<std::string> encapsulated = EncapsulatedHtml(*rtf);
    if (!encapsulated) {
        if (bodies.plain.empty())
            bodies.plain = RtfToText(*rtf);
        return bodies;
    }
    if (bodies.plain.empty())
        bodies.plain = HtmlText(*encapsulated, reader);
    if (!bodies.html)
        bodies.html = std::move(encapsulated);
    return bodies;
}

std::set<std::string> ReferencedContentIds(std::string_view html) {
    std::set<std::string> ids;
    for (std::size_t at = 0; at + 4 <= html.size(); ++at) {
        if (!EqualIgnoringCase(html.substr(at, 4), "cid:"))
            continue;
        const std::size_t start = at + 4;
        std::size_t end = start;
        while (end < html.size() && !EndsContentId(html[end]))
            ++end;
        if (end > start)
            ids.emplace(html.substr(start, end - start));
        at = end - 1;
    }
    return ids;
}

GObjectPtr<GMimeObject> TextPart(const char *subtype, std::string text) {
    if (!IsValidUtf8(text))
        text = ToValidUtf8(text);
    UseLfLineEnds(text);
    GObjectPtr<GMimeTextPart> part(g_mime_text_part_new_with_subtype(subtype));
    g_mime_text_part_set_charset(part.get(), "UTF-8");
    GObjectPtr<GMimeStream> stream =
        NewBackedStream(std::make_unique<TextBackend>(std::move(text)));
    SetContent(GMIME_PART(part.get()), stream.get());
    const GMimeContentEncoding encoding = g_mime_part_get_best_content_encoding(
        GMIME_PART(part.get()), GMIME_ENCODING_CONSTRAINT_7BIT);
    if (encoding == GMIME_CONTENT_ENCODING_BASE64) {
        // Encoded text keeps the CR LF line ends of text in MIME, which GMime writes only
        // around the encoded lines themselves.
        GObjectPtr<GMimeStream> withCrLf(g_mime_stream_filter_new(stream.get()));
        GObjectPtr<GMimeFilter> filter(g_mime_filter_unix2dos_new(FALSE));
        g_mime_stream_filter_add(GMIME_STREAM_FILTER(withCrLf.get()), filter.get());
        SetContent(GMIME_PART(part.get()), withCrLf.get());
    }
    g_mime_part_set_content_encoding(GMIME_PART(part.get()), encoding);
    return GObjectPtr<GMimeObject>(GMIME_OBJECT(part.release()));
}

} // namespace qb::mime
