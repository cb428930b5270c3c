#include "text/rtf_text.h"

#include "text/codepage.h"
#include "text/html_to_text.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <span>
#include <vector>

namespace qb {
namespace {

// Destinations whose text is not part of the message. Pictures and objects come twice in
// Word's RTF (\shppict and \nonshppict); field instructions name links, not text.
constexpr std::array<std::string_view, 19> hiddenDestinations{
    "fonttbl",  "colortbl",  "stylesheet",        "info",        "pict",
    "object",   "objdata",   "shppict",           "nonshppict",  "header",
    "footer",   "listtable", "listoverridetable", "rsidtbl",     "generator",
    "xmlnstbl", "themedata", "fldinst",           "nonesttables"};

// Control words that stand for one character, and the character as UTF-8.
struct SymbolWord {
    std::string_view word;
    std::string_view text;
};
constexpr std::array<SymbolWord, 16> textSymbolWords{{
    {"par", "\n"},
    {"line", "\n"},
    {"sect", "\n"},
    {"page", "\n"},
    {"row", "\n"},
    {"nestrow", "\n"},
    {"tab", "\t"},
    {"cell", " "},
    {"nestcell", " "},
    {"emdash", "\xE2\x80\x94"},
    {"endash", "\xE2\x80\x93"},
    {"bullet", "\xE2\x80\xA2"},
    {"lquote", "\xE2\x80\x98"},
    {"rquote", "\xE2\x80\x99"},
    {"ldblquote", "\xE2\x80\x9C"},
    {"rdblquote", "\xE2\x80\x9D"},
}};

// The control words that stand for characters of the HTML that an RTF body encapsulates; every
// other control word there stands for nothing.
constexpr std::array<SymbolWord, 9> htmlSymbolWords{{
    {"par", "\r\n"},
    {"tab", "\t"},
    {"emdash", "\xE2\x80\x94"},
    {"endash", "\xE2\x80\x93"},
    {"bullet", "\xE2\x80\xA2"},
    {"lquote", "\xE2\x80\x98"},
    {"rquote", "\xE2\x80\x99"},
    {"ldblquote", "\xE2\x80\x9C"},
    {"rdblquote", "\xE2\x80\x9D"},
}};

// The Windows code page of each character set a font of the font table may name (\fcharset).
// The default and symbol sets name none: their text is in the document's code page.
struct CharsetCodepage {
    long charset;
    int codepage;
};
constexpr std::array<CharsetCodepage, 17> charsetCodepages{{
    {0, 1252},
    {77, 10000},
    {128, 932},
    {129, 949},
    {130, 1361},
    {134, 936},
    {136, 950},
    {161, 1253},
    {162, 1254},
    {163, 1258},
    {177, 1255},
    {178, 1256},
    {186, 1257},
    {204, 1251},
    {222, 874},
    {238, 1250},
    {255, 850},
}};

constexpr bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

struct GroupState {
    bool hidden = false;
    bool htmlTag = false;
    bool htmlRtf = false; // text Outlook added only for RTF readers of an HTML body
    bool fontTable = false;
    int unicodeSkip = 1;
    long font = -1; // the document's default font
};

/// What an RTF document holds: its text, or the HTML it encapsulates.
struct RtfContent {
    std::string text;
    bool encapsulatesHtml = false;
};

/// Reads one RTF document; keeps the text and, for encapsulated HTML, the HTML.
class RtfReader {
  public:
    explicit RtfReader(std::string_view rtf) : rtf_(rtf) { groups_.push_back({}); }

    RtfContent run() {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                controlSequence();
            else if (c != '\r' && c != '\n')
                plainCharacter(c);
        }
        flushBytes();
        return {std::move(out_), fromHtml_};
    }

  private:
    GroupState &state() { return groups_.back(); }

    void openGroup() {
        flushBytes();
        groups_.push_back(groups_.back());
        destinationStart_ = true;
        ignorableDestination_ = false;
    }

    void closeGroup() {
        flushBytes();
        if (groups_.size() > 1)
            groups_.pop_back();
        destinationStart_ = false;
        ignorableDestination_ = false;
    }

    void plainCharacter(char c) {
        destinationStart_ = false;
        // Bytes beyond ASCII written as they are belong to the document's code page.
        if (static_cast<unsigned char>(c) >= 0x80) {
            codepageByte(c);
            return;
        }
        flushBytes();
        character(std::string_view(&c, 1));
    }

    bool textHidden() {
        return state().hidden || (fromHtml_ && state().htmlRtf && !state().htmlTag);
    }

    void character(std::string_view utf8) {
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        if (highSurrogate_ != 0) {
            highSurrogate_ = 0;
            character("\xEF\xBF\xBD");
        }
        if (!textHidden())
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
        const std::string_view word = rtf_.substr(start, pos_ - start);
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
            character(fromHtml_ ? "\xC2\xA0" : " ");
        else if (c == '\\' || c == '{' || c == '}')
            character(std::string_view(&c, 1));
        else if (c == '\n' || c == '\r')
            character(fromHtml_ ? "\r\n" : "\n");
        else if (c == '_')
            character(fromHtml_ ? "\xC2\xAD" : "-");
    }

    void hexByte() {
        if (pos_ + 2 > rtf_.size()) {
            pos_ = rtf_.size(); // a cut-off escape ends the text
            return;
        }
        const char high = rtf_[pos_];
        const char low = rtf_[pos_ + 1];
        pos_ += 2;
        if (!std::isxdigit(static_cast<unsigned char>(high)) ||
            !std::isxdigit(static_cast<unsigned char>(low)))
            return;
        codepageByte(static_cast<char>(HexValue(high) * 16 + HexValue(low)));
    }

    static int HexValue(char digit) {
        return std::isdigit(static_cast<unsigned char>(digit))
                   ? digit - '0'
                   : std::tolower(static_cast<unsigned char>(digit)) - 'a' + 10;
    }

    void codepageByte(char byte) {
        if (skipCount_ > 0) {
            --skipCount_;
            return;
        }
        if (!textHidden())
            pendingBytes_ += byte;
    }

    /// Converts the code-page bytes gathered so far; multi-byte code pages need them together.
    void flushBytes() {
        if (pendingBytes_.empty())
            return;
        const std::string text = CodepageToUtf8(pendingBytes_, bytesCodepage());
        pendingBytes_.clear();
        const int skip = skipCount_;
        skipCount_ = 0;
        character(text);
        skipCount_ = skip;
    }

    /// Raw picture or object bytes: never text, and a brace or backslash among them is data.
    void skipBinary(long count) {
        const std::size_t left = rtf_.size() - pos_;
        pos_ += count <= 0 ? 0 : std::min(static_cast<std::size_t>(count), left);
    }

    void unicodeCharacter(long parameter) {
        const auto unit = static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter);
        const char32_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (high != 0 && !IsLowSurrogate(unit))
            character("\xEF\xBF\xBD");
        std::string utf8;
        if (IsHighSurrogate(unit)) {
            highSurrogate_ = unit; // the other half of the pair follows
        } else {
            const char32_t codePoint = high != 0 && IsLowSurrogate(unit)
                                           ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00)
                                           : unit;
            AppendUtf8(utf8, codePoint);
            character(utf8);
        }
        skipCount_ = state().unicodeSkip;
    }

    void controlWord(std::string_view word, bool hasParameter, long parameter) {
        const bool starred = ignorableDestination_;
        ignorableDestination_ = false;
        if (word == "u" && hasParameter) {
            flushBytes();
            unicodeCharacter(parameter);
            return;
        }
        flushBytes();
        if (word == "bin") {
            skipBinary(parameter);
        } else if (word == "fromhtml") {
            fromHtml_ = true;
        } else if (word == "htmltag") {
            state().htmlTag = true;
            state().hidden = false;
        } else if (word == "htmlrtf") {
            state().htmlRtf = !hasParameter || parameter != 0;
        } else if (word == "ansicpg" && hasParameter) {
            codepage_ = static_cast<int>(parameter);
        } else if (word == "uc" && hasParameter) {
            state().unicodeSkip = static_cast<int>(std::clamp(parameter, 0L, 16L));
        } else if (hasParameter && fontWord(word, parameter)) {
            // a font or its code page, which the text after it is read in
        } else if (word == "plain") {
            state().font = -1;
        } else if (word == "fonttbl") {
            state().hidden = true;
            state().fontTable = true;
        } else if (const SymbolWord *symbol = FindSymbolWord(word)) {
            character(symbol->text);
        } else if (starred || IsHiddenDestination(word)) {
            state().hidden = true;
        }
        skipCount_ = 0;
    }

    /// Reads the words that name fonts and their code pages; false for any other word.
    bool fontWord(std::string_view word, long parameter) {
        if (word == "f")
            state().font = parameter;
        else if (word == "deff")
            defaultFont_ = parameter;
        else if (word == "fcharset" && state().fontTable)
            setFontCodepage(CodepageOfCharset(parameter));
        else if (word == "cpg" && state().fontTable)
            setFontCodepage(static_cast<int>(parameter));
        else
            return false;
        return true;
    }

    void setFontCodepage(int codepage) {
        if (codepage != 0)
            fontCodepages_[state().font] = codepage;
    }

    /// The code page of the bytes written now: the document's inside the markup of encapsulated
    /// HTML, else that of the current font's character set when it names one.
    int bytesCodepage() {
        if (fromHtml_ && state().htmlTag)
            return codepage_;
        const auto font = fontCodepages_.find(state().font < 0 ? defaultFont_ : state().font);
        return font == fontCodepages_.end() ? codepage_ : font->second;
    }

    static int CodepageOfCharset(long charset) {
        const auto found =
            std::find_if(charsetCodepages.begin(), charsetCodepages.end(),
                         [&](const CharsetCodepage &c) { return c.charset == charset; });
        return found == charsetCodepages.end() ? 0 : found->codepage;
    }

    const SymbolWord *FindSymbolWord(std::string_view word) const {
        const auto &words = fromHtml_ ? std::span<const SymbolWord>(htmlSymbolWords)
                                      : std::span<const SymbolWord>(textSymbolWords);
        const auto found = std::find_if(words.begin(), words.end(), [&](const SymbolWord &symbol) {
            return symbol.word == word;
        });
        return found == words.end() ? nullptr : &*found;
    }

    static bool IsHiddenDestination(std::string_view word) {
        return std::find(hiddenDestinations.begin(), hiddenDestinations.end(), word) !=
               hiddenDestinations.end();
    }

    std::string_view rtf_;
    std::size_t pos_ = 0;
    std::vector<GroupState> groups_;
    std::string out_;
    std::string pendingBytes_;
    int codepage_ = defaultCodepage;
    long defaultFont_ = 0;
    std::map<long, int> fontCodepages_;
    int skipCount_ = 0;
    char32_t highSurrogate_ = 0;
    bool fromHtml_ = false;
    bool destinationStart_ = false;
    bool ignorableDestination_ = false;
};

} // namespace

std::string RtfToText(std::string_view rtf) {
    RtfContent content = RtfReader(rtf).run();
    return content.encapsulatesHtml ? HtmlToText(content.text) : std::move(content.text);
}

std::optional<std::string> EncapsulatedHtml(std::string_view rtf) {
    RtfContent content = RtfReader(rtf).run();
    if (!content.encapsulatesHtml)
        return std::nullopt;
    return std::move(content.text);
}

} // namespace qb
