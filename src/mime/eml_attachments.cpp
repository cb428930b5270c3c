#include "mime/eml_attachments.h"

#include "mime/attachment_data.h"
#include "mime/backed_stream.h"
#include "mime/eml_message.h"
#include "mime/mime_types.h"
#include "text/plain_text.h"

#include <algorithm>

namespace qb::mime {
namespace {

/// The attachment's name for its part: the first of its long file name, short file name and
/// display name that is not empty; nothing when it has none.
std::optional<std::string> NameOf(mail::Attachment &attachment) {
    for (const auto read : {&mail::Attachment::longFileName, &mail::Attachment::shortFileName,
                            &mail::Attachment::displayName}) {
        std::string name = (attachment.*read)().value_or("");
        std::replace_if(
            name.begin(), name.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        if (!Trimmed(name, " \t").empty())
            return name;
    }
    return std::nullopt;
}

/// The Content-ID without the angle brackets that enclose it in a header field.
std::optional<std::string> BareContentId(std::optional<std::string> id) {
    if (!id)
        return std::nullopt;
    std::string bare = Trimmed(*id, " \t<>");
    return bare.empty() ? std::nullopt : std::optional<std::string>(bare);
}

/// Writes a parameter's value beyond ASCII in UTF-8, as GMime would choose the smallest charset.
void UseUtf8(GMimeParamList *parameters, const char *name) {
    if (GMimeParam *parameter = g_mime_param_list_get_parameter(parameters, name))
        g_mime_param_set_charset(parameter, "UTF-8");
}

/// Names the part's file in its Content-Disposition and, for older readers, its Content-Type.
void SetFileName(GMimeObject *part, const std::string &name, bool withTypeName) {
    g_mime_object_set_content_disposition_parameter(part, "filename", name.c_str());
    UseUtf8(g_mime_content_disposition_get_parameters(g_mime_object_get_content_disposition(part)),
            "filename");
    if (!withTypeName)
        return;
    g_mime_object_set_content_type_parameter(part, "name", name.c_str());
    UseUtf8(g_mime_content_type_get_parameters(g_mime_object_get_content_type(part)), "name");
}

class AttachmentWriter {
  public:
    AttachmentWriter(mail::Message &message, PartReader &reader, int depth)
        : message_(message), reader_(reader), depth_(depth) {}

    std::vector<AttachmentPart> write() {
        const int count =
            reader_.read("attachment table", [&] { return message_.attachmentCount(); })
                .value_or(0);
        for (int index = 1; index <= count; ++index)
            writeAttachment(index);
        return std::move(parts_);
    }

  private:
    /// A property the part can do without: nothing, a problem, when it cannot be read.
    template <typename Read>
    std::optional<std::string> readProperty(const std::string &part, const char *what,
                                            Read &&read) {
        try {
            return read();
        } catch (const Failure &failure) {
            reader_.problem(part, std::string("its ") + what +
                                      " cannot be read: " + failure.description());
            return std::nullopt;
        }
    }

    void writeAttachment(int index) {
        std::string part = "attachment " + std::to_string(index);
        try {
            std::unique_ptr<mail::Attachment> attachment = message_.attachment(index);
            const std::optional<std::string> name =
                readProperty(part, "name", [&] { return NameOf(*attachment); });
            if (name)
                part += " \"" + *name + "\"";
            switch (attachment->kind()) {
            case mail::AttachmentKind::ByValue:
                return addFile(std::move(attachment), index, name, part);
            case mail::AttachmentKind::EmbeddedMessage:
                return addMessage(*attachment, name, part);
            case mail::AttachmentKind::OleObject:
                return reader_.problem(part, "an OLE object, which is no file: it is left out");
            case mail::AttachmentKind::Reference:
                return reader_.problem(
                    part,
                    "only a reference to a file kept elsewhere, not the file: it is left out");
            }
        } catch (const Failure &failure) {
            reader_.problem(part, failure.description());
        }
    }

    void addFile(std::unique_ptr<mail::Attachment> attachment, int index,
                 const std::optional<std::string> &name, const std::string &part) {
        const std::string type = AttachmentMimeType(
            readProperty(part, "MIME type", [&] { return attachment->mimeType(); }),
            name.value_or(""));
        std::optional<std::string> contentId = BareContentId(
            readProperty(part, "Content-ID", [&] { return attachment->contentId(); }));
        mail::Message &message = message_;
        auto data = std::make_unique<AttachmentData>(
            std::move(attachment), [&message, index] { return message.attachment(index); },
            reader_.context(), reader_.nameOf(part));
        try {
            data->start();
        } catch (const Failure &failure) {
            return reader_.problem(part, "its data cannot be read: " + failure.description());
        }
        const std::size_t slash = type.find('/');
        GObjectPtr<GMimePart> file(g_mime_part_new_with_type(type.substr(0, slash).c_str(),
                                                             type.substr(slash + 1).c_str()));
        g_mime_object_set_disposition(GMIME_OBJECT(file.get()), GMIME_DISPOSITION_ATTACHMENT);
        if (name)
            SetFileName(GMIME_OBJECT(file.get()), *name, true);
        if (contentId)
            g_mime_object_set_content_id(GMIME_OBJECT(file.get()), contentId->c_str());
        GObjectPtr<GMimeStream> stream = NewBackedStream(std::move(data));
        GObjectPtr<GMimeDataWrapper> content(
            g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
        g_mime_part_set_content(file.get(), content.get());
        g_mime_part_set_content_encoding(file.get(), GMIME_CONTENT_ENCODING_BASE64);
        parts_.push_back({GObjectPtr<GMimeObject>(GMIME_OBJECT(file.release())), contentId});
    }

    void addMessage(mail::Attachment &attachment, const std::optional<std::string> &name,
                    const std::string &part) {
        // A damaged store may attach a message to itself; the depth ends what would never end.
        if (depth_ + 1 > mail::maxNesting)
            return reader_.problem(part, "attached messages nest deeper than " +
                                             std::to_string(mail::maxNesting) +
                                             " here: the store holds a loop, and it is left out");
        std::shared_ptr<mail::Message> attached = attachment.embeddedMessage();
        reader_.context().keptMessages.push_back(attached);
        GObjectPtr<GMimeMessage> built;
        try {
            built = BuildMessage(*attached, reader_.context(), reader_.nameOf(part), depth_ + 1);
        } catch (const Failure &failure) {
            return reader_.problem(part,
                                   "the attached message cannot be read: " + failure.description());
        }
        GObjectPtr<GMimeMessagePart> wrapped(
            g_mime_message_part_new_with_message("rfc822", built.get()));
        g_mime_object_set_disposition(GMIME_OBJECT(wrapped.get()), GMIME_DISPOSITION_ATTACHMENT);
        if (name)
            g_mime_object_set_content_disposition_parameter(GMIME_OBJECT(wrapped.get()), "filename",
                                                            name->c_str());
        parts_.push_back({GObjectPtr<GMimeObject>(GMIME_OBJECT(wrapped.release())), std::nullopt});
    }

    mail::Message &message_;
    PartReader &reader_;
    int depth_;
    std::vector<AttachmentPart> parts_;
};

} // namespace

std::vector<AttachmentPart> AttachmentParts(mail::Message &message, PartReader &reader, int depth) {
    return AttachmentWriter(message, reader, depth).write();
}

} // namespace qb::mime
