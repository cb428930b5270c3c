#include "eml_read_back.h"

#include "mime/gmime_setup.h"

#include <gtest/gtest.h>

namespace qb::test {
namespace {

using Text = std::unique_ptr<char, GFreeRelease>;

void CollectLeaves(GMimeObject *object, std::vector<GMimeObject *> &leaves) {
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart *multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
            CollectLeaves(g_mime_multipart_get_part(multipart, i), leaves);
        return;
    }
    leaves.push_back(object);
}

std::string ShapeOf(GMimeObject *object) {
    if (object == nullptr)
        return "(none)";
    std::string shape = TypeOf(object);
    if (GMIME_IS_MULTIPART(object)) {
        GMimeMultipart *multipart = GMIME_MULTIPART(object);
        shape += "[";
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
            shape += (i == 0 ? "" : ",") + ShapeOf(g_mime_multipart_get_part(multipart, i));
        shape += "]";
    } else if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage *inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        shape += "[" + ShapeOf(inner ? g_mime_message_get_mime_part(inner) : nullptr) + "]";
    }
    return shape;
}

} // namespace

std::string WrittenEml(mail::Message &message, std::vector<mime::EmlProblem> &problems) {
    mime::StringSink sink;
    mime::WriteEml(message, sink, problems);
    return sink.text;
}

ReadBack::ReadBack(const std::string &eml) {
    InitialiseGmimeOnce();
    GObjectPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(eml.data(), eml.size()));
    GObjectPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    message_.reset(g_mime_parser_construct_message(parser.get(), nullptr));
    EXPECT_TRUE(message_) << "GMime does not read this as a message:\n" << eml;
}

ReadBack::ReadBack(GMimeMessage *message) : message_(message) {
    if (message)
        g_object_ref(message);
}

std::string ReadBack::field(const char *name) const {
    if (!message_)
        return {};
    const char *value = g_mime_object_get_header(GMIME_OBJECT(message_.get()), name);
    if (value == nullptr)
        return {};
    const Text decoded(g_mime_utils_header_decode_text(nullptr, value));
    return decoded.get();
}

std::string ReadBack::addresses(GMimeAddressType type) const {
    if (!message_)
        return {};
    const Text text(internet_address_list_to_string(
        g_mime_message_get_addresses(message_.get(), type), nullptr, FALSE));
    return text ? text.get() : "";
}

std::string ReadBack::shape() const {
    return message_ ? ShapeOf(g_mime_message_get_mime_part(message_.get())) : "";
}

std::vector<GMimeObject *> ReadBack::leaves() const {
    std::vector<GMimeObject *> leaves;
    if (message_)
        CollectLeaves(g_mime_message_get_mime_part(message_.get()), leaves);
    return leaves;
}

std::vector<ReadBack> ReadBack::attachedMessages() const {
    std::vector<ReadBack> attached;
    for (GMimeObject *leaf : leaves())
        if (GMIME_IS_MESSAGE_PART(leaf))
            attached.emplace_back(g_mime_message_part_get_message(GMIME_MESSAGE_PART(leaf)));
    return attached;
}

std::string ContentOf(GMimeObject *part) {
    if (!GMIME_IS_PART(part))
        return {};
    GMimeDataWrapper *content = g_mime_part_get_content(GMIME_PART(part));
    if (content == nullptr)
        return {};
    GObjectPtr<GMimeStream> memory(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, memory.get());
    const GByteArray *bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
    return std::string(reinterpret_cast<const char *>(bytes->data), bytes->len);
}

std::string FileNameOf(GMimeObject *part) {
    const char *name = GMIME_IS_PART(part)
                           ? g_mime_part_get_filename(GMIME_PART(part))
                           : g_mime_object_get_content_disposition_parameter(part, "filename");
    return name ? name : "";
}

std::string TypeOf(GMimeObject *part) {
    GMimeContentType *type = g_mime_object_get_content_type(part);
    return std::string(g_mime_content_type_get_media_type(type)) + "/" +
           g_mime_content_type_get_media_subtype(type);
}

} // namespace qb::test
