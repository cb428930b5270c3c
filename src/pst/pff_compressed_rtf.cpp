#include "pst/pff_compressed_rtf.h"

#include "mail/message_reading.h"
#include "pst/pff_item_handle.h"
#include "pst/pff_properties.h"

#include <limits>

namespace qb {
namespace {

constexpr std::size_t largestExpansion = 8;
constexpr std::size_t closingNuls = 2;

} // namespace

std::size_t LargestRtfBody(std::size_t compressedSize) {
    constexpr std::size_t largest = std::numeric_limits<std::size_t>::max();
    if (compressedSize > (largest - closingNuls) / largestExpansion)
        return largest;
    return compressedSize * largestExpansion + closingNuls;
}

std::optional<std::string> ReadRtfBody(PffItemHandle &message) {
    const auto compressedSize = PropertySize(message, pff_property::compressedRtfBody);
    if (!compressedSize)
        return std::nullopt;
    libpff_item_t *item = message.get();
    const auto rtf = ReadSized(
        message, "cannot read the RTF body",
        [item](std::size_t *size, libpff_error_t **error) {
            return libpff_message_get_rtf_body_size(item, size, error);
        },
        [item](std::uint8_t *data, std::size_t size, libpff_error_t **error) {
            return libpff_message_get_rtf_body(item, data, size, error);
        },
        LargestRtfBody(*compressedSize));
    if (!rtf)
        return std::nullopt;
    return mail::WithoutTrailingNuls(*rtf);
}

} // namespace qb
