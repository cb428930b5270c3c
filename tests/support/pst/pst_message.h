#pragma once

#include "support/pst/pst_bytes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qb::pstmaker {

using Guid = std::array<std::uint8_t, 16>;

/// Property sets of named properties, as their GUIDs are stored.
namespace property_set {
/// PSETID_Appointment {00062002-0000-0000-C000-000000000046}
inline constexpr Guid appointment = {0x02, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
/// PSETID_Address {00062004-0000-0000-C000-000000000046}
inline constexpr Guid address = {0x04, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                                 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
/// PSETID_Common {00062008-0000-0000-C000-000000000046}
inline constexpr Guid common = {0x08, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00,
                                0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
/// PS_INTERNET_HEADERS {00020386-0000-0000-C000-000000000046}
inline constexpr Guid internetHeaders = {0x86, 0x03, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                         0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
} // namespace property_set

/// A named property: a property set and a number, or a property set and a name when the name
/// is not empty.
struct PropertyName {
    Guid set{};
    std::uint32_t id = 0;
    std::string name;
    bool operator==(const PropertyName &) const = default;
};

/// A value of a named property, in its stored form (strings as UTF-16LE).
struct NamedValue {
    PropertyName name;
    std::uint16_t type = 0;
    Bytes value;
};

/// A property given by tag, in its stored form.
struct TaggedValue {
    std::uint32_t tag = 0;
    Bytes value;
};

struct Recipient {
    enum class Kind : std::uint32_t { to = 1, cc = 2, bcc = 3 };
    Kind kind = Kind::to;
    std::string name;
    std::string address;
    /// "SMTP", or "EX" with an /O=.../CN=... address and the SMTP address beside it.
    std::string addressType = "SMTP";
    std::string smtpAddress;
};

struct Message;

struct Attachment {
    enum class Method : std::uint32_t {
        byValue = 1,
        byReference = 2,
        embeddedMessage = 5,
        oleObject = 6,
    };
    Method method = Method::byValue;
    std::string longFileName;
    std::string shortFileName;
    std::string displayName;
    std::string mimeType;
    std::string contentId;
    /// Where a by-reference attachment lies.
    std::string pathName;
    /// The bytes of a by-value attachment or OLE object.
    std::string data;
    /// When not zero, the bytes are GeneratedBytes(generatorSeed) of this size instead of data,
    /// streamed into the file so that they are never all in memory.
    std::uint64_t generatedSize = 0;
    std::uint64_t generatorSeed = 0;
    /// The attached message of an embeddedMessage attachment.
    std::shared_ptr<const struct Message> message;
};

/// One item of a folder: a mail message (IPM.Note) or any other class given in messageClass
/// with its own properties in taggedValues and namedValues. Times are seconds since 1970 UTC;
/// zero leaves the property out, as does an empty text.
struct Message {
    std::string messageClass = "IPM.Note";
    std::string subject;
    /// Stores the subject behind the 0x01 marker and the length of its prefix ("RE: ").
    bool subjectMarker = false;
    std::string senderName;
    std::string senderAddress;
    std::string senderAddressType = "SMTP";
    std::string senderSmtpAddress;
    std::vector<Recipient> recipients;
    std::optional<std::string> plainBody;
    std::optional<std::string> htmlBody;
    /// PR_HTML as UTF-16 text rather than as binary.
    bool htmlAsText = false;
    std::optional<std::string> rtfBody;
    std::int64_t deliveryTime = 0;
    std::int64_t submitTime = 0;
    std::string transportHeaders;
    std::string internetMessageId;
    std::string inReplyTo;
    std::string references;
    bool read = true;
    std::uint32_t codepage = 65001;
    std::vector<Attachment> attachments;
    std::vector<NamedValue> namedValues;
    std::vector<TaggedValue> taggedValues;
};

/// Bytes [offset, offset + size) of the endless deterministic stream of a seed.
std::string GeneratedBytes(std::uint64_t seed, std::uint64_t offset, std::size_t size);

} // namespace qb::pstmaker
