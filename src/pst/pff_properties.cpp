#include "pst/pff_properties.h"

#include "pst/pff_error.h"
#include "pst/pff_file.h"
#include "pst/pff_item_handle.h"
#include "text/codepage.h"

#include <algorithm>
#include <cstdio>

namespace qb {
namespace {

constexpr std::uint32_t unicodeStringType = 0x001F;
constexpr std::uint32_t eightBitStringType = 0x001E;
constexpr int utf8Codepage = 65001;

std::string UnreadableProperty(std::uint32_t propertyType) {
    return "cannot read property " + PropertyTag(propertyType);
}

std::uint32_t ValueType(PffItemHandle &item, libpff_record_entry_t *entry,
                        std::uint32_t propertyType) {
    std::uint32_t valueType = 0;
    PffError error;
    if (libpff_record_entry_get_value_type(entry, &valueType, error.out()) != 1)
        item.raise(error, UnreadableProperty(propertyType));
    return valueType;
}

using EntrySizeCall = int (*)(libpff_record_entry_t *, std::size_t *, libpff_error_t **);
using EntryDataCall = int (*)(libpff_record_entry_t *, std::uint8_t *, std::size_t,
                              libpff_error_t **);

/// The entry's value in the form that libpff's pair of size and data calls gives.
std::string EntryValue(PffItemHandle &item, libpff_record_entry_t *entry,
                       std::uint32_t propertyType, EntrySizeCall sizeCall, EntryDataCall dataCall) {
    return ReadSized(
               item, UnreadableProperty(propertyType),
               [=](std::size_t *size, libpff_error_t **error) {
                   return sizeCall(entry, size, error);
               },
               [=](std::uint8_t *data, std::size_t size, libpff_error_t **error) {
                   return dataCall(entry, data, size, error);
               })
        .value_or("");
}

std::string EntryBytes(PffItemHandle &item, libpff_record_entry_t *entry,
                       std::uint32_t propertyType) {
    return EntryValue(item, entry, propertyType, libpff_record_entry_get_data_size,
                      libpff_record_entry_get_data);
}

std::string UnicodeText(PffItemHandle &item, libpff_record_entry_t *entry,
                        std::uint32_t propertyType) {
    std::string text =
        EntryValue(item, entry, propertyType, libpff_record_entry_get_data_as_utf8_string_size,
                   libpff_record_entry_get_data_as_utf8_string);
    text.resize(std::min(text.find('\0'), text.size())); // the size counts the closing NUL
    return text;
}

/// A little-endian number of exactly `size` bytes, or nothing when the value has another size.
template <typename Number>
std::optional<Number> LittleEndian(const std::optional<std::string> &bytes) {
    if (!bytes || bytes->size() != sizeof(Number))
        return std::nullopt;
    Number value = 0;
    for (auto byte = bytes->rbegin(); byte != bytes->rend(); ++byte)
        value = static_cast<Number>((value << 8) | static_cast<unsigned char>(*byte));
    return value;
}

struct StoredText {
    EncodedText text;
    bool convertedByLibpff;
};

/// A text property as ReadEncodedText gives it, and whether libpff made it UTF-8 itself.
std::optional<StoredText> ReadStoredText(PffItemHandle &item, std::uint32_t propertyType,
                                         int codepage, int recordSet) {
    PffRecordEntry entry = item.entry(propertyType, recordSet);
    if (!entry)
        return std::nullopt;
    const std::uint32_t valueType = ValueType(item, entry.get(), propertyType);
    if (valueType == unicodeStringType)
        return StoredText{{UnicodeText(item, entry.get(), propertyType), utf8Codepage}, true};
    std::string bytes = EntryBytes(item, entry.get(), propertyType);
    // 8-bit strings are stored with their terminating NUL.
    if (valueType == eightBitStringType)
        bytes.resize(std::min(bytes.find('\0'), bytes.size()));
    return StoredText{{std::move(bytes), codepage}, false};
}

} // namespace

std::string PropertyTag(std::uint32_t propertyType) {
    char tag[16];
    std::snprintf(tag, sizeof tag, "0x%04X", propertyType);
    return tag;
}

std::optional<std::string> ReadSized(PffItemHandle &item, const std::string &whatFailed,
                                     const PffSizeCall &sizeCall, const PffDataCall &dataCall,
                                     std::size_t largest) {
    std::size_t size = 0;
    PffError error;
    const int found = sizeCall(&size, error.out());
    if (found == -1)
        item.raise(error, whatFailed);
    if (found == 0)
        return std::nullopt;
    std::string bytes(std::min(size, largest), '\0');
    if (!bytes.empty() &&
        dataCall(reinterpret_cast<std::uint8_t *>(bytes.data()), bytes.size(), error.out()) != 1)
        item.raise(error, whatFailed);
    return bytes;
}

std::optional<std::size_t> PropertySize(PffItemHandle &item, std::uint32_t propertyType) {
    PffRecordEntry entry = item.entry(propertyType);
    if (!entry)
        return std::nullopt;
    std::size_t size = 0;
    PffError error;
    if (libpff_record_entry_get_data_size(entry.get(), &size, error.out()) != 1)
        item.raise(error, UnreadableProperty(propertyType));
    return size;
}

std::optional<EncodedText> ReadEncodedText(PffItemHandle &item, std::uint32_t propertyType,
                                           int codepage, int recordSet) {
    auto text = ReadStoredText(item, propertyType, codepage, recordSet);
    if (!text)
        return std::nullopt;
    return std::move(text->text);
}

std::optional<std::string> ReadText(PffItemHandle &item, std::uint32_t propertyType, int codepage,
                                    int recordSet) {
    auto text = ReadStoredText(item, propertyType, codepage, recordSet);
    if (!text)
        return std::nullopt;
    if (text->convertedByLibpff)
        return std::move(text->text.bytes);
    return CodepageToUtf8(text->text.bytes, text->text.codepage);
}

std::optional<std::string> ReadBytes(PffItemHandle &item, std::uint32_t propertyType,
                                     int recordSet) {
    PffRecordEntry entry = item.entry(propertyType, recordSet);
    if (!entry)
        return std::nullopt;
    return EntryBytes(item, entry.get(), propertyType);
}

std::optional<std::uint32_t> ReadInteger(PffItemHandle &item, std::uint32_t propertyType,
                                         int recordSet) {
    return LittleEndian<std::uint32_t>(ReadBytes(item, propertyType, recordSet));
}

std::optional<std::uint64_t> ReadFiletime(PffItemHandle &item, std::uint32_t propertyType) {
    const auto value = LittleEndian<std::uint64_t>(ReadBytes(item, propertyType));
    if (value == 0u)
        return std::nullopt;
    return value;
}

} // namespace qb
