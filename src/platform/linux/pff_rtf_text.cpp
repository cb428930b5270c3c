#include "platform/linux/pff_rtf_text.h"

#include "platform/linux/html_to_text.h"
#include "platform/linux/pff_codepage.h"

#include <array>
#include <cctype>
#include <vector>

namespace qb {
namespace {

// Destinations whose text is not part of the message.
constexpr std::array<std::string_view, 14> hiddenDestinations{
    "fonttbl", "colortbl",  "stylesheet",        "info",    "pict",      "object",   "header",
    "footer",  "listtable", "listoverridetable", "rsidtbl", "generator", "xmlnstbl", "themedata"};

struct GroupState {
    bool hidden = false;
    bool htmlTag = false;
    bool htmlRtf = false; // text Outlook added only for RTF readers of an HTML body
    int unicodeSkip = 1;
};

/// Reads one RTF document; keeps the text and, for encapsulated HTML, the HTML.
class RtfReader {
  public:
    explicit RtfReader(std::string_view rtf) : rtf_(rtf) { groups_.push_back({}); }

    std::string run() {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                flushBytes();
                groups_.push_back(groups_.back());
                destinationStart_ = true;
            } else if (c == '}') {
                flushBytes();
                if (groups_.size() > 1)
                    groups_.pop_back();
                destinationStart_ = false;
            } else if (c == '\\') {
                controlSequence();
            } else if (c != '\r' && c != '\n') {
                flushBytes();
                character(std::string(1, c));
                destinationStart_ = false;
            }
        }
        flushBytes();
        return fromHtml_ ? HtmlToText(out_) : out_;
    }

  private:
    GroupState &state() { return groups_.back(); }

    void character(const std::string &utf8) {
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        if (state().hidden || (fromHtml_ && state().htmlRtf && !state().htmlTag))
            return;
        out_ += utf8;
    }

    void controlSequence() {
        if (pos_ >= rtf_.size())
            return;
        const char c = rtf_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            controlSymbol(c);
            return;
        }
        const std::size_t start = pos_;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_])))
            ++pos_;
        const std::string word(rtf_.substr(start, pos_ - start));
        bool hasParameter = false;
        long parameter = 0;
        const bool negative = pos_ < rtf_.size() && rtf_[pos_] == '-';
        if (negative)
            ++pos_;
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_]))) {
            if (parameter < 100000000)
                parameter = parameter * 10 + (rtf_[pos_] - '0');
            hasParameter = true;
            ++pos_;
        }
        if (negative)
            parameter = -parameter;
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_;
        controlWord(word, hasParameter, parameter);
        destinationStart_ = false;
    }

    void controlSymbol(char c) {
        if (c == '\'') {
            hexByte();
            return;
        }
        flushBytes();
        if (c == '*' && destinationStart_) {
            ignorableDestination_ = true;
            return;
        }
        if (c == '~')
            character(" ");
        else if (c == '\\' || c == '{' || c == '}')
            character(std::string(1, c));
        else if (c == '\n' || c == '\r')
            character("\n");
        else if (c == '_')
            character("-");
    }

    void hexByte() {
        if (pos_ + 2 > rtf_.size()) {
            pos_ = rtf_.size(); // a cut-off escape ends the text
            return;
        }
        const std::string hex(rtf_.substr(pos_, 2));
        pos_ += 2;
        if (!std::isxdigit(static_cast<unsigned char>(hex[0])) ||
            !std::isxdigit(static_cast<unsigned char>(hex[1])))
            return;
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        pendingBytes_ += static_cast<char>(std::stoi(hex, nullptr, 16));
    }

    void flushBytes() {
        if (pendingBytes_.empty())
            return;
        const std::string text = CodepageToUtf8(pendingBytes_, codepage_);
        pendingBytes_.clear();
        const int skip = skipCount_;
        skipCount_ = 0;
        character(text);
        skipCount_ = skip;
    }

    void controlWord(const std::string &word, bool hasParameter, long parameter) {
        if (word != "u" || !hasParameter)
            flushBytes();
        const bool starred = ignorableDestination_;
        ignorableDestination_ = false;
        if (word == "fromhtml") {
            fromHtml_ = true;
        } else if (word == "htmltag") {
            state().htmlTag = true;
            state().hidden = false;
        } else if (word == "htmlrtf") {
            state().htmlRtf = !hasParameter || parameter != 0;
        } else if (word == "ansicpg" && hasParameter) {
            codepage_ = static_cast<int>(parameter);
        } else if (word == "uc" && hasParameter) {
            state().unicodeSkip = static_cast<int>(parameter);
        } else if (word == "u" && hasParameter) {
            flushBytes();
            std::string utf8;
            AppendUtf8(utf8, static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter));
            character(utf8);
            skipCount_ = state().unicodeSkip;
            return;
        } else if (word == "par" || word == "line" || word == "sect" || word == "page") {
            character("\n");
        } else if (word == "tab") {
            character("\t");
        } else if (word == "cell") {
            character(" ");
        } else if (word == "row") {
            character("\n");
        } else if (word == "emdash") {
            character("\xE2\x80\x94");
        } else if (word == "endash") {
            character("\xE2\x80\x93");
        } else if (word == "bullet") {
            character("\xE2\x80\xA2");
        } else if (word == "lquote") {
            character("\xE2\x80\x98");
        } else if (word == "rquote") {
            character("\xE2\x80\x99");
        } else if (word == "ldblquote") {
            character("\xE2\x80\x9C");
        } else if (word == "rdblquote") {
            character("\xE2\x80\x9D");
        } else if (starred || IsHiddenDestination(word)) {
            state().hidden = true;
        }
        skipCount_ = 0;
    }

    static bool IsHiddenDestination(const std::string &word) {
        for (std::string_view name : hiddenDestinations)
            if (name == word)
                return true;
        return false;
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::vector<GroupState> groups_;
    std::string out_;
    std::string pendingBytes_;
    int codepage_ = defaultCodepage;
    int skipCount_ = 0;
    bool fromHtml_ = false;
    bool destinationStart_ = false;
    bool ignorableDestination_ = false;
};

} // namespace

std::string RtfToText(std::string_view rtf) {
    return RtfReader(rtf).run();
}

} // namespace qb
