#include "platform/linux/html_to_text.h"

#include "platform/linux/pff_codepage.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

namespace qb {
namespace {

struct NamedEntity {
    std::string_view name;
    char32_t codePoint;
};

constexpr std::array namedEntities{
    NamedEntity{"amp", U'&'},      NamedEntity{"lt", U'<'},       NamedEntity{"gt", U'>'},
    NamedEntity{"quot", U'"'},     NamedEntity{"apos", U'\''},    NamedEntity{"nbsp", U' '},
    NamedEntity{"ensp", U' '},     NamedEntity{"emsp", U' '},     NamedEntity{"thinsp", U' '},
    NamedEntity{"ndash", 0x2013},  NamedEntity{"mdash", 0x2014},  NamedEntity{"lsquo", 0x2018},
    NamedEntity{"rsquo", 0x2019},  NamedEntity{"sbquo", 0x201A},  NamedEntity{"ldquo", 0x201C},
    NamedEntity{"rdquo", 0x201D},  NamedEntity{"bdquo", 0x201E},  NamedEntity{"bull", 0x2022},
    NamedEntity{"hellip", 0x2026}, NamedEntity{"euro", 0x20AC},   NamedEntity{"trade", 0x2122},
    NamedEntity{"dagger", 0x2020}, NamedEntity{"Dagger", 0x2021}, NamedEntity{"permil", 0x2030},
    NamedEntity{"lsaquo", 0x2039}, NamedEntity{"rsaquo", 0x203A}, NamedEntity{"oelig", 0x153},
    NamedEntity{"OElig", 0x152},   NamedEntity{"scaron", 0x161},  NamedEntity{"Scaron", 0x160},
    NamedEntity{"larr", 0x2190},   NamedEntity{"rarr", 0x2192},   NamedEntity{"zwnj", 0x200C},
    NamedEntity{"zwj", 0x200D},    NamedEntity{"lrm", 0x200E},    NamedEntity{"rlm", 0x200F},
};

// Latin-1 entities from U+00A1 on, in code point order.
constexpr std::array<std::string_view, 95> latin1Entities{
    "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",
    "ordf",   "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",
    "sup3",   "acute",  "micro",  "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",
    "frac14", "frac12", "frac34", "iquest", "Agrave", "Aacute", "Acirc",  "Atilde", "Auml",
    "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",   "Igrave", "Iacute",
    "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",
    "agrave", "aacute", "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave",
    "eacute", "ecirc",  "euml",   "igrave", "iacute", "icirc",  "iuml",   "eth",    "ntilde",
    "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide", "oslash", "ugrave", "uacute",
    "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

// Elements whose start and end both end a line.
constexpr std::array<std::string_view, 22> blockElements{
    "p",  "div", "tr",  "li",         "ul", "ol", "table", "h1", "h2",    "h3",      "h4",
    "h5", "h6",  "pre", "blockquote", "hr", "dl", "dt",    "dd", "title", "address", "center"};

// Elements whose whole content is left out.
constexpr std::array<std::string_view, 5> hiddenElements{"script", "style", "head", "title", "xml"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

template <std::size_t N>
bool Contains(const std::array<std::string_view, N> &names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

/// Collects the text, keeping at most one blank between words and two line ends in a row.
class TextWriter {
  public:
    void word(std::string_view text, bool preformatted) {
        for (char c : text) {
            const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
            if (preformatted) {
                if (c != '\r')
                    put(c);
            } else if (blank) {
                pendingSpace_ = !out_.empty() && out_.back() != '\n';
            } else {
                put(c);
            }
        }
    }
    void text(std::string_view decoded) {
        for (char c : decoded)
            put(c);
    }
    void lineBreak() {
        pendingSpace_ = false;
        out_ += '\n';
    }
    /// Ends the current line unless it is already empty.
    void endLine() {
        if (!out_.empty() && out_.back() != '\n')
            lineBreak();
        pendingSpace_ = false;
    }
    std::string finish() {
        // Trailing blanks of each line and surplus empty lines carry no text.
        std::string result;
        int newlines = 0;
        for (char c : out_) {
            if (c == '\n') {
                while (!result.empty() && result.back() == ' ')
                    result.pop_back();
                if (++newlines > 2)
                    continue;
            } else {
                newlines = 0;
            }
            result += c;
        }
        const auto first = result.find_first_not_of('\n');
        result.erase(0, first == std::string::npos ? result.size() : first);
        while (!result.empty() && (result.back() == '\n' || result.back() == ' '))
            result.pop_back();
        return result;
    }

  private:
    void put(char c) {
        if (pendingSpace_ && c != '\n')
            out_ += ' ';
        pendingSpace_ = false;
        out_ += c;
    }
    std::string out_;
    bool pendingSpace_ = false;
};

struct Tag {
    std::string name;
    bool closing = false;
};

Tag ParseTag(std::string_view inside) {
    Tag tag;
    std::size_t i = 0;
    if (i < inside.size() && inside[i] == '/') {
        tag.closing = true;
        ++i;
    }
    const std::size_t start = i;
    while (i < inside.size() &&
           (std::isalnum(static_cast<unsigned char>(inside[i])) || inside[i] == ':'))
        ++i;
    tag.name = Lower(inside.substr(start, i - start));
    return tag;
}

/// Where a tag ends: the first ">" outside quoted attribute values.
std::size_t TagEnd(std::string_view html, std::size_t from) {
    char quote = 0;
    for (std::size_t i = from; i < html.size(); ++i) {
        if (quote) {
            if (html[i] == quote)
                quote = 0;
        } else if (html[i] == '"' || html[i] == '\'') {
            quote = html[i];
        } else if (html[i] == '>') {
            return i;
        }
    }
    return std::string_view::npos;
}

/// Index after the end tag of a hidden element, or the end of the text.
std::size_t SkipHiddenContent(std::string_view html, std::size_t from, const std::string &name) {
    const std::string lower = Lower(html.substr(from));
    const auto end = lower.find("</" + name);
    if (end == std::string::npos)
        return html.size();
    const auto close = html.find('>', from + end);
    return close == std::string_view::npos ? html.size() : close + 1;
}

} // namespace

std::string DecodeHtmlEntity(std::string_view entity) {
    std::string out;
    if (entity.size() > 1 && entity[0] == '#') {
        const bool hex = entity[1] == 'x' || entity[1] == 'X';
        const std::string_view digits = entity.substr(hex ? 2 : 1);
        unsigned long value = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, hex ? 16 : 10);
        if (error != std::errc() || end != digits.data() + digits.size() || digits.empty())
            return {};
        AppendUtf8(out, value == 0 || value > 0x10FFFF ? char32_t{0xFFFD}
                                                       : static_cast<char32_t>(value));
        return out;
    }
    for (const NamedEntity &named : namedEntities)
        if (named.name == entity) {
            AppendUtf8(out, named.codePoint);
            return out;
        }
    for (std::size_t i = 0; i < latin1Entities.size(); ++i)
        if (latin1Entities[i] == entity) {
            AppendUtf8(out, static_cast<char32_t>(0xA1 + i));
            return out;
        }
    return {};
}

std::string HtmlToText(std::string_view html) {
    TextWriter writer;
    int preformatted = 0;
    std::size_t i = 0;
    while (i < html.size()) {
        const char c = html[i];
        if (c == '<') {
            if (html.substr(i, 4) == "<!--") {
                const auto end = html.find("-->", i + 4);
                i = end == std::string_view::npos ? html.size() : end + 3;
                continue;
            }
            const auto end = TagEnd(html, i + 1);
            if (end == std::string_view::npos)
                break; // a cut-off tag at the end shows nothing
            const Tag tag = ParseTag(html.substr(i + 1, end - i - 1));
            i = end + 1;
            if (tag.name.empty())
                continue;
            if (!tag.closing && Contains(hiddenElements, tag.name)) {
                i = SkipHiddenContent(html, i, tag.name);
                continue;
            }
            if (tag.name == "br")
                writer.lineBreak();
            else if (tag.name == "td" || tag.name == "th")
                writer.word(" ", false);
            else if (Contains(blockElements, tag.name))
                writer.endLine();
            if (tag.name == "p" && tag.closing)
                writer.lineBreak(); // paragraphs stand apart by an empty line
            if (tag.name == "pre")
                preformatted = std::max(0, preformatted + (tag.closing ? -1 : 1));
            continue;
        }
        if (c == '&') {
            const auto semicolon = html.find(';', i + 1);
            if (semicolon != std::string_view::npos && semicolon - i <= 12) {
                const std::string decoded = DecodeHtmlEntity(html.substr(i + 1, semicolon - i - 1));
                if (!decoded.empty()) {
                    writer.text(decoded);
                    i = semicolon + 1;
                    continue;
                }
            }
        }
        const auto next = html.find_first_of("<&", i + 1);
        const std::size_t stop = next == std::string_view::npos ? html.size() : next;
        writer.word(html.substr(i, stop - i), preformatted > 0);
        i = stop;
    }
    return writer.finish();
}

} // namespace qb
