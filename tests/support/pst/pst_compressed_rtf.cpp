#include "support/pst/pst_compressed_rtf.h"

#include "support/pst/pst_checksums.h"

#include <algorithm>
#include <array>
#include <vector>

namespace qb::pstmaker {
namespace {

/// The text the dictionary starts with; compressed streams begin writing right after it.
constexpr std::string_view initialDictionary =
    "{\\rtf1\\ansi\\mac\\deff0\\deftab720{\\fonttbl;}{\\f0\\fnil \\froman \\fswiss \\fmodern "
    "\\fscript \\fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\\colortbl\\red0\\green0"
    "\\blue0\r\n\\par \\pard\\plain\\f0\\fs20\\b\\i\\u\\tab\\tx";
constexpr std::size_t dictionarySize = 4096;
constexpr std::size_t longestMatch = 17;
constexpr std::size_t shortestMatch = 3;
/// A reference further back could be overwritten while it is copied.
constexpr std::size_t farthestMatch = dictionarySize - longestMatch;
constexpr std::size_t hashSize = 1 << 14;
constexpr int chainDepth = 32;
constexpr std::uint32_t compressedType = 0x75465A4C; // "LZFu"

/// Tokens in groups of eight behind a control byte whose bits, lowest first, mark references.
class TokenWriter {
  public:
    void literal(std::uint8_t byte) {
        open();
        out_.push_back(byte);
    }
    void reference(std::size_t dictionaryOffset, std::size_t length) {
        const int bit = open();
        out_[control_] |= static_cast<std::uint8_t>(1 << bit);
        const auto word = static_cast<std::uint16_t>((dictionaryOffset << 4) | (length - 2));
        out_.push_back(static_cast<std::uint8_t>(word >> 8));
        out_.push_back(static_cast<std::uint8_t>(word));
    }
    Bytes take() { return std::move(out_); }

  private:
    /// Starts a token; returns its bit in the current control byte.
    int open() {
        if (out_.empty() || count_ == 8) {
            control_ = out_.size();
            out_.push_back(0);
            count_ = 0;
        }
        return count_++;
    }

    Bytes out_;
    std::size_t control_ = 0;
    int count_ = 0;
};

std::size_t HashAt(std::string_view text, std::size_t at) {
    return ((static_cast<unsigned char>(text[at]) << 10) ^
            (static_cast<unsigned char>(text[at + 1]) << 5) ^
            static_cast<unsigned char>(text[at + 2])) %
           hashSize;
}

} // namespace

Bytes CompressRtf(std::string_view rtf) {
    TokenWriter tokens;
    std::vector<std::int64_t> head(hashSize, -1);
    std::vector<std::int64_t> previous(rtf.size(), -1);
    auto remember = [&](std::size_t at) {
        if (at + shortestMatch > rtf.size())
            return;
        const std::size_t hash = HashAt(rtf, at);
        previous[at] = head[hash];
        head[hash] = static_cast<std::int64_t>(at);
    };
    for (std::size_t at = 0; at < rtf.size();) {
        std::size_t bestLength = 0;
        std::size_t bestFrom = 0;
        if (at + shortestMatch <= rtf.size()) {
            std::int64_t candidate = head[HashAt(rtf, at)];
            for (int depth = 0; candidate >= 0 && depth < chainDepth; ++depth) {
                const auto from = static_cast<std::size_t>(candidate);
                if (at - from > farthestMatch)
                    break;
                std::size_t length = 0;
                const std::size_t limit = std::min(longestMatch, rtf.size() - at);
                while (length < limit && rtf[from + length] == rtf[at + length])
                    ++length;
                if (length > bestLength) {
                    bestLength = length;
                    bestFrom = from;
                }
                candidate = previous[from];
            }
        }
        if (bestLength >= shortestMatch) {
            tokens.reference((initialDictionary.size() + bestFrom) % dictionarySize, bestLength);
            for (std::size_t i = 0; i < bestLength; ++i)
                remember(at + i);
            at += bestLength;
        } else {
            tokens.literal(static_cast<std::uint8_t>(rtf[at]));
            remember(at);
            ++at;
        }
    }
    // The end: a reference to the position the next byte would be written at.
    tokens.reference((initialDictionary.size() + rtf.size()) % dictionarySize, 2);
    const Bytes body = tokens.take();
    Bytes out;
    AppendLittleEndian(out, body.size() + 12, 4);
    AppendLittleEndian(out, rtf.size(), 4);
    AppendLittleEndian(out, compressedType, 4);
    AppendLittleEndian(out, Crc32(body), 4);
    AppendBytes(out, body);
    return out;
}

} // namespace qb::pstmaker
