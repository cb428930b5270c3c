#include "mime/eml_message.h"

#include "mime/eml_attachments.h"
#include "mime/eml_body.h"
#include "mime/eml_headers.h"

#include <algorithm>

namespace qb::mime {
namespace {

GObjectPtr<GMimeMultipart> Multipart(const char *subtype) {
    return GObjectPtr<GMimeMultipart>(g_mime_multipart_new_with_subtype(subtype));
}

void Add(GMimeMultipart *multipart, const GObjectPtr<GMimeObject> &part) {
    g_mime_multipart_add(multipart, part.get());
}

GObjectPtr<GMimeObject> AsObject(GObjectPtr<GMimeMultipart> multipart) {
    return GObjectPtr<GMimeObject>(GMIME_OBJECT(multipart.release()));
}

/// The HTML part, in multipart/related with the files it shows by Content-ID, which are taken
/// out of files.
GObjectPtr<GMimeObject> HtmlWithPictures(std::string html, std::vector<AttachmentPart> &files) {
    const std::set<std::string> shown = ReferencedContentIds(html);
    GObjectPtr<GMimeObject> htmlPart = TextPart("html", std::move(html));
    const auto isShown = [&](const AttachmentPart &file) {
        return file.contentId && shown.count(*file.contentId) > 0;
    };
    if (std::none_of(files.begin(), files.end(), isShown))
        return htmlPart;
    GObjectPtr<GMimeMultipart> related = Multipart("related");
    g_mime_object_set_content_type_parameter(GMIME_OBJECT(related.get()), "type", "text/html");
    Add(related.get(), htmlPart);
    for (AttachmentPart &file : files) {
        if (!isShown(file))
            continue;
        g_mime_object_set_disposition(file.part.get(), GMIME_DISPOSITION_INLINE);
        Add(related.get(), file.part);
        file.part.reset();
    }
    std::erase_if(files, [](const AttachmentPart &file) { return !file.part; });
    return AsObject(std::move(related));
}

/// The body: the plain text, beside the HTML in multipart/alternative when there is HTML, and
/// the attachments after it in multipart/mixed when there are any.
GObjectPtr<GMimeObject> Body(MessageBodies bodies, std::vector<AttachmentPart> attachments) {
    GObjectPtr<GMimeObject> text = TextPart("plain", std::move(bodies.plain));
    if (bodies.html) {
        GObjectPtr<GMimeMultipart> alternative = Multipart("alternative");
        Add(alternative.get(), text);
        Add(alternative.get(), HtmlWithPictures(std::move(*bodies.html), attachments));
        text = AsObject(std::move(alternative));
    }
    if (attachments.empty())
        return text;
    GObjectPtr<GMimeMultipart> mixed = Multipart("mixed");
    Add(mixed.get(), text);
    for (const AttachmentPart &attachment : attachments)
        Add(mixed.get(), attachment.part);
    return AsObject(std::move(mixed));
}

} // namespace

GObjectPtr<GMimeMessage> BuildMessage(mail::Message &message, EmlContext &context,
                                      const std::string &place, int depth) {
    PartReader reader(context, place);
    GObjectPtr<GMimeMessage> built(g_mime_message_new(FALSE));
    SetHeaderFields(message, built.get(), reader);
    MessageBodies bodies = ReadBodies(message, reader);
    std::vector<AttachmentPart> attachments = AttachmentParts(message, reader, depth);
    reader.requireSomethingRead();
    const GObjectPtr<GMimeObject> body = Body(std::move(bodies), std::move(attachments));
    g_mime_message_set_mime_part(built.get(), body.get());
    return built;
}

} // namespace qb::mime
