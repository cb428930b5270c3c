#pragma once

#include <libpff.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

namespace qb {

class PffItemHandle;

/// MAPI property types the mail store reads.
namespace pff_property {
inline constexpr std::uint32_t messageClass = 0x001A;
inline constexpr std::uint32_t subject = 0x0037;
inline constexpr std::uint32_t clientSubmitTime = 0x0039;
inline constexpr std::uint32_t transportMessageHeaders = 0x007D;
inline constexpr std::uint32_t recipientType = 0x0C15;
inline constexpr std::uint32_t senderName = 0x0C1A;
inline constexpr std::uint32_t senderAddressType = 0x0C1E;
inline constexpr std::uint32_t senderEmailAddress = 0x0C1F;
inline constexpr std::uint32_t displayCc = 0x0E03;
inline constexpr std::uint32_t displayTo = 0x0E04;
inline constexpr std::uint32_t deliveryTime = 0x0E06;
inline constexpr std::uint32_t messageFlags = 0x0E07;
inline constexpr std::uint32_t plainTextBody = 0x1000;
inline constexpr std::uint32_t compressedRtfBody = 0x1009;
inline constexpr std::uint32_t htmlBody = 0x1013;
inline constexpr std::uint32_t internetMessageId = 0x1035;
inline constexpr std::uint32_t internetReferences = 0x1039;
inline constexpr std::uint32_t inReplyToId = 0x1042;
inline constexpr std::uint32_t displayName = 0x3001;
inline constexpr std::uint32_t addressType = 0x3002;
inline constexpr std::uint32_t emailAddress = 0x3003;
inline constexpr std::uint32_t creationTime = 0x3007;
inline constexpr std::uint32_t ipmSubtreeEntryId = 0x35E0;
inline constexpr std::uint32_t attachShortFilename = 0x3704;
inline constexpr std::uint32_t attachMethod = 0x3705;
inline constexpr std::uint32_t attachLongFilename = 0x3707;
inline constexpr std::uint32_t attachMimeTag = 0x370E;
inline constexpr std::uint32_t attachContentId = 0x3712;
inline constexpr std::uint32_t smtpAddress = 0x39FE;
inline constexpr std::uint32_t internetCodepage = 0x3FDE;
inline constexpr std::uint32_t messageCodepage = 0x3FFD;
inline constexpr std::uint32_t senderSmtpAddress = 0x5D01;
} // namespace pff_property

/// The property as failures name it: "0x0037".
std::string PropertyTag(std::uint32_t propertyType);

/// A libpff call that gives the size of a value: 1 with the size, 0 when there is no such value,
/// -1 on error.
using PffSizeCall = std::function<int(std::size_t *size, libpff_error_t **error)>;
/// A libpff call that copies a value into a buffer of the given size: 1, or -1 on error.
using PffDataCall =
    std::function<int(std::uint8_t *data, std::size_t size, libpff_error_t **error)>;

/// A value of the item that libpff gives in two calls, its size and then its bytes; nothing when
/// there is no such value. The buffer is never larger than `largest`, whatever size a damaged
/// file declares. Throws Failure "<file>: <whatFailed> of <item>: ..." when a call fails.
std::optional<std::string> ReadSized(PffItemHandle &item, const std::string &whatFailed,
                                     const PffSizeCall &sizeCall, const PffDataCall &dataCall,
                                     std::size_t largest = std::numeric_limits<std::size_t>::max());

/// The size in bytes of a property (any value type), or nothing when absent; throws Failure.
std::optional<std::size_t> PropertySize(PffItemHandle &item, std::uint32_t propertyType);

/// Text as it is stored: its bytes and the code page they are written in.
struct EncodedText {
    std::string bytes;
    int codepage;
};

/// A text property as stored, or nothing when absent: Unicode strings as UTF-8 (code page
/// 65001), 8-bit strings up to their first NUL in the given code page, other values as their
/// bytes in that code page. The property is one of the item's record set recordSet. Throws
/// Failure when the value cannot be read.
std::optional<EncodedText> ReadEncodedText(PffItemHandle &item, std::uint32_t propertyType,
                                           int codepage, int recordSet = 0);
/// A text property as UTF-8, or nothing when absent; ReadEncodedText converted.
std::optional<std::string> ReadText(PffItemHandle &item, std::uint32_t propertyType, int codepage,
                                    int recordSet = 0);
/// The raw bytes of a property (any value type), or nothing when absent; throws Failure.
std::optional<std::string> ReadBytes(PffItemHandle &item, std::uint32_t propertyType,
                                     int recordSet = 0);
/// A 32-bit integer property, or nothing when absent or of another size; throws Failure.
std::optional<std::uint32_t> ReadInteger(PffItemHandle &item, std::uint32_t propertyType,
                                         int recordSet = 0);
/// A FILETIME property, or nothing when absent or zero; throws Failure.
std::optional<std::uint64_t> ReadFiletime(PffItemHandle &item, std::uint32_t propertyType);

} // namespace qb
