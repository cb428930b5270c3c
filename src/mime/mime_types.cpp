#include "mime/mime_types.h"

#include "mime/gmime_objects.h"
#include "text/plain_text.h"

#include <gio/gio.h>

#include <algorithm>
#include <array>

namespace qb::mime {
namespace {

constexpr std::string_view unknownType = "application/octet-stream";

struct ExtensionType {
    std::string_view extension;
    std::string_view type;
};

// The files mail most often carries, known without asking the system's MIME database, which a
// machine may lack.
constexpr std::array<ExtensionType, 36> extensionTypes{{
    {"7z", "application/x-7z-compressed"},
    {"bmp", "image/bmp"},
    {"csv", "text/csv"},
    {"doc", "application/msword"},
    {"docx", "application/vnd.openxmlformats-officedocument.wordprocessingml.document"},
    {"gif", "image/gif"},
    {"gz", "application/gzip"},
    {"htm", "text/html"},
    {"html", "text/html"},
    {"ics", "text/calendar"},
    {"jpeg", "image/jpeg"},
    {"jpg", "image/jpeg"},
    {"json", "application/json"},
    {"mp3", "audio/mpeg"},
    {"mp4", "video/mp4"},
    {"msg", "application/vnd.ms-outlook"},
    {"odp", "application/vnd.oasis.opendocument.presentation"},
    {"ods", "application/vnd.oasis.opendocument.spreadsheet"},
    {"odt", "application/vnd.oasis.opendocument.text"},
    {"pdf", "application/pdf"},
    {"png", "image/png"},
    {"ppt", "application/vnd.ms-powerpoint"},
    {"pptx", "application/vnd.openxmlformats-officedocument.presentationml.presentation"},
    {"rar", "application/vnd.rar"},
    {"rtf", "application/rtf"},
    {"svg", "image/svg+xml"},
    {"tif", "image/tiff"},
    {"tiff", "image/tiff"},
    {"txt", "text/plain"},
    {"vcf", "text/vcard"},
    {"wav", "audio/wav"},
    {"webp", "image/webp"},
    {"xls", "application/vnd.ms-excel"},
    {"xlsx", "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"},
    {"xml", "application/xml"},
    {"zip", "application/zip"},
}};

bool IsTokenCharacter(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte > 32 && byte < 127 &&
           std::string_view("()<>@,;:\\\"/[]?=").find(c) == std::string_view::npos;
}

bool IsToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), IsTokenCharacter);
}

/// True for "type/subtype" of a leaf part that may be written in base64.
bool IsUsableMimeType(std::string_view type) {
    const std::size_t slash = type.find('/');
    if (slash == std::string_view::npos || !IsToken(type.substr(0, slash)) ||
        !IsToken(type.substr(slash + 1)))
        return false;
    const std::string topLevel = LowerCase(std::string(type.substr(0, slash)));
    return topLevel != "multipart" && topLevel != "message";
}

std::string GuessedMimeType(std::string_view fileName) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos)
        return std::string(unknownType);
    const std::string extension = LowerCase(std::string(fileName.substr(dot + 1)));
    const auto known =
        std::find_if(extensionTypes.begin(), extensionTypes.end(),
                     [&](const ExtensionType &e) { return e.extension == extension; });
    if (known != extensionTypes.end())
        return std::string(known->type);
    const std::string name(fileName);
    const std::unique_ptr<char, GFreeRelease> guessed(
        g_content_type_guess(name.c_str(), nullptr, 0, nullptr));
    if (!guessed)
        return std::string(unknownType);
    const std::unique_ptr<char, GFreeRelease> type(g_content_type_get_mime_type(guessed.get()));
    return type && IsUsableMimeType(type.get()) ? std::string(type.get())
                                                : std::string(unknownType);
}

} // namespace

std::string AttachmentMimeType(const std::optional<std::string> &stored,
                               std::string_view fileName) {
    if (stored) {
        const std::string type = Trimmed(*stored, " \t");
        if (IsUsableMimeType(type))
            return type;
    }
    return GuessedMimeType(fileName);
}

} // namespace qb::mime
