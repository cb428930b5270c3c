#include "platform/linux/pff_properties.h"

#include "platform/linux/pff_codepage.h"
#include "platform/linux/pff_error.h"
#include "platform/linux/pff_file.h"
#include "platform/linux/pff_item_handle.h"

#include <cstdio>

namespace qb {
namespace {

constexpr std::uint32_t unicodeStringType = 0x001F;
constexpr std::uint32_t eightBitStringType = 0x001E;

[[noreturn]] void RaiseUnreadable(PffItemHandle &item, PffError &error,
                                  std::uint32_t propertyType) {
    char property[16];
    std::snprintf(property, sizeof property, "0x%04X", propertyType);
    error.raise(item.file().fileName(), std::string("cannot read property ") + property + " of " +
                                            DescribeItem(item.identifier()));
}

std::uint32_t ValueType(PffItemHandle &item, libpff_record_entry_t *entry,
                        std::uint32_t propertyType) {
    std::uint32_t valueType = 0;
    PffError error;
    if (libpff_record_entry_get_value_type(entry, &valueType, error.out()) != 1)
        RaiseUnreadable(item, error, propertyType);
    return valueType;
}

std::string EntryBytes(PffItemHandle &item, libpff_record_entry_t *entry,
                       std::uint32_t propertyType) {
    std::size_t size = 0;
    PffError error;
    if (libpff_record_entry_get_data_size(entry, &size, error.out()) != 1)
        RaiseUnreadable(item, error, propertyType);
    std::string bytes(size, '\0');
    if (size > 0 &&
        libpff_record_entry_get_data(entry, reinterpret_cast<std::uint8_t *>(bytes.data()), size,
                                     error.out()) != 1)
        RaiseUnreadable(item, error, propertyType);
    return bytes;
}

std::string UnicodeText(PffItemHandle &item, libpff_record_entry_t *entry,
                        std::uint32_t propertyType) {
    std::size_t size = 0;
    PffError error;
    if (libpff_record_entry_get_data_as_utf8_string_size(entry, &size, error.out()) != 1)
        RaiseUnreadable(item, error, propertyType);
    if (size == 0)
        return {};
    std::string text(size, '\0');
    if (libpff_record_entry_get_data_as_utf8_string(
            entry, reinterpret_cast<std::uint8_t *>(text.data()), size, error.out()) != 1)
        RaiseUnreadable(item, error, propertyType);
    text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
    return text;
}

} // namespace

std::optional<std::string> ReadText(PffItemHandle &item, std::uint32_t propertyType, int codepage) {
    PffRecordEntry entry = item.entry(propertyType);
    if (!entry)
        return std::nullopt;
    const std::uint32_t valueType = ValueType(item, entry.get(), propertyType);
    if (valueType == unicodeStringType)
        return UnicodeText(item, entry.get(), propertyType);
    std::string bytes = EntryBytes(item, entry.get(), propertyType);
    if (valueType == eightBitStringType) {
        // 8-bit strings are stored with their terminating NUL.
        const auto end = bytes.find('\0');
        if (end != std::string::npos)
            bytes.resize(end);
    }
    return CodepageToUtf8(bytes, codepage);
}

std::optional<std::string> ReadBytes(PffItemHandle &item, std::uint32_t propertyType) {
    PffRecordEntry entry = item.entry(propertyType);
    if (!entry)
        return std::nullopt;
    return EntryBytes(item, entry.get(), propertyType);
}

std::optional<std::uint32_t> ReadInteger(PffItemHandle &item, std::uint32_t propertyType) {
    const auto bytes = ReadBytes(item, propertyType);
    if (!bytes || bytes->size() != 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>((*bytes)[static_cast<std::size_t>(i)]);
    return value;
}

std::optional<std::uint64_t> ReadFiletime(PffItemHandle &item, std::uint32_t propertyType) {
    const auto bytes = ReadBytes(item, propertyType);
    if (!bytes || bytes->size() != 8)
        return std::nullopt;
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>((*bytes)[static_cast<std::size_t>(i)]);
    if (value == 0)
        return std::nullopt;
    return value;
}

} // namespace qb
