#include "cli/mime_fields.h"

#include "mime/gmime_objects.h"
#include "mime/gmime_setup.h"

#include <vector>

namespace qb::cli {
namespace {

/// The bytes an object writes to a stream, or nothing when it cannot be written.
std::optional<std::string> Written(const std::function<gssize(GMimeStream *)> &write) {
    GObjectPtr<GMimeStream> memory(g_mime_stream_mem_new());
    if (write(memory.get()) < 0)
        return std::nullopt;
    GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
    return std::string(reinterpret_cast<const char *>(bytes->data), bytes->len);
}

void TakeAttachment(GMimeObject *object,
                    const std::function<void(const std::string &, std::string_view)> &take) {
    if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage *inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        const char *filename = g_mime_object_get_content_disposition_parameter(object, "filename");
        const char *subject = inner ? g_mime_message_get_subject(inner) : nullptr;
        const std::string name = filename ? filename : subject ? subject : "";
        const auto text = Written([&](GMimeStream *stream) {
            return inner ? g_mime_object_write_to_stream(GMIME_OBJECT(inner), nullptr, stream) : 0;
        });
        if (text)
            take(name + (name.ends_with(".eml") ? "" : ".eml"), *text);
        return;
    }
    if (!GMIME_IS_PART(object) || !g_mime_part_is_attachment(GMIME_PART(object)))
        return;
    GMimePart *part = GMIME_PART(object);
    const char *filename = g_mime_part_get_filename(part);
    GMimeDataWrapper *content = g_mime_part_get_content(part);
    const auto bytes = Written([&](GMimeStream *stream) {
        return content ? g_mime_data_wrapper_write_to_stream(content, stream) : 0;
    });
    if (bytes)
        take(filename ? filename : "", *bytes);
}

} // namespace

std::optional<std::chrono::sys_seconds> MailMoment(const std::string &dateText) {
    InitialiseGmimeOnce();
    const std::unique_ptr<GDateTime, GDateTimeRelease> parsed(
        g_mime_utils_header_decode_date(dateText.c_str()));
    if (!parsed)
        return std::nullopt;
    return std::chrono::sys_seconds(std::chrono::seconds(g_date_time_to_unix(parsed.get())));
}

std::string FirstAddress(const std::string &addresses) {
    InitialiseGmimeOnce();
    GObjectPtr<InternetAddressList> list(internet_address_list_parse(nullptr, addresses.c_str()));
    if (!list)
        return {};
    for (int index = 0; index < internet_address_list_length(list.get()); ++index) {
        InternetAddress *address = internet_address_list_get_address(list.get(), index);
        if (INTERNET_ADDRESS_IS_MAILBOX(address))
            return internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address));
    }
    return {};
}

void ForEachAttachment(std::string_view message,
                       const std::function<void(const std::string &, std::string_view)> &take) {
    InitialiseGmimeOnce();
    GObjectPtr<GMimeStream> stream(
        g_mime_stream_mem_new_with_buffer(message.data(), message.size()));
    GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GObjectPtr<GMimeMessage> parsed(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!parsed)
        return;
    // An explicit stack: parts may nest deeper than the call stack would bear. Attached messages
    // are saved whole, not searched.
    std::vector<GMimeObject *> pending{g_mime_message_get_mime_part(parsed.get())};
    while (!pending.empty()) {
        GMimeObject *object = pending.back();
        pending.pop_back();
        if (object == nullptr)
            continue;
        if (GMIME_IS_MULTIPART(object)) {
            GMimeMultipart *multipart = GMIME_MULTIPART(object);
            for (int index = g_mime_multipart_get_count(multipart) - 1; index >= 0; --index)
                pending.push_back(g_mime_multipart_get_part(multipart, index));
        } else {
            TakeAttachment(object, take);
        }
    }
}

} // namespace qb::cli
