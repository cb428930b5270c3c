#include "text/html_to_text.h"

#include "failure/failure.h"
#include "text/codepage.h"

#include <libxml/HTMLparser.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <memory>

namespace qb {
namespace {

// Elements whose start and end both end a line.
constexpr std::array<std::string_view, 22> blockElements{
    "p",  "div", "tr",  "li",         "ul", "ol", "table", "h1", "h2",    "h3",      "h4",
    "h5", "h6",  "pre", "blockquote", "hr", "dl", "dt",    "dd", "title", "address", "center"};

// Elements whose whole content is left out.
constexpr std::array<std::string_view, 5> hiddenElements{"script", "style", "head", "title", "xml"};

template <std::size_t N>
bool Contains(const std::array<std::string_view, N> &names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string_view NameOf(const xmlNode *node) {
    return reinterpret_cast<const char *>(node->name);
}

/// Collects the text, keeping at most one blank between words and two line ends in a row.
class TextWriter {
  public:
    void word(std::string_view text, bool preformatted) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
            if (text.substr(i, 2) == "\xC2\xA0") {
                put(' '); // a no-break space stays, as a plain blank
                ++i;
            } else if (preformatted) {
                if (c != '\r')
                    put(c);
            } else if (blank) {
                pendingSpace_ = !out_.empty() && out_.back() != '\n';
            } else {
                put(c);
            }
        }
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
    /// A blank between table cells, collapsing with the blanks around it.
    void cellGap() { pendingSpace_ = !out_.empty() && out_.back() != '\n'; }
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
            } else if (c != ' ') {
                newlines = 0; // a line of blanks is an empty line too
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

/// Appends bytes [from, to) of the text, leaving out NUL bytes, which would end the parser's input.
void AppendWithoutNul(std::string &out, std::string_view text, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (text[i] != '\0')
            out += text[i];
}

/// The text as the parser should see it: well-formed UTF-8 without NUL bytes, and without the
/// markup declarations other than comments ("<![if !supportLists]>" and the like, which Word
/// puts around list numbers). HTML reads those as comments that end at the next ">"; the parser
/// of this libxml2 predates that rule and would show them as text. Comments themselves go to
/// the parser whole, so that a declaration inside one cannot swallow its end.
std::string ParserInput(std::string_view html) {
    const std::string valid = ToValidUtf8(html);
    std::string input;
    input.reserve(valid.size());
    std::size_t from = 0;
    while (from < valid.size()) {
        const std::size_t open = std::min(valid.find("<!", from), valid.size());
        AppendWithoutNul(input, valid, from, open);
        if (open == valid.size())
            break;
        const bool comment = valid.compare(open, 4, "<!--") == 0;
        const std::size_t close = comment ? valid.find("-->", open + 4) : valid.find('>', open + 2);
        from = close == std::string::npos ? valid.size() : close + (comment ? 3 : 1);
        if (comment)
            AppendWithoutNul(input, valid, open, from);
    }
    return input;
}

/// Stops the parse once libxml2 has spent a budget, linear in the input, on end tags that match
/// no element just opened: it looks for each of them through all open elements, so a deeply
/// nested document full of stray end tags would otherwise take quadratic time. The text up to
/// there is kept. Also keeps libxml2's error reports off the standard error stream.
class StrayEndTagBudget {
  public:
    explicit StrayEndTagBudget(std::size_t inputSize)
        : left_(4 * static_cast<long long>(inputSize) + 100000),
          previousHandler_(xmlStructuredError), previousContext_(xmlStructuredErrorContext) {
        xmlSetStructuredErrorFunc(this, &StrayEndTagBudget::onError);
    }
    ~StrayEndTagBudget() { xmlSetStructuredErrorFunc(previousContext_, previousHandler_); }
    StrayEndTagBudget(const StrayEndTagBudget &) = delete;
    StrayEndTagBudget &operator=(const StrayEndTagBudget &) = delete;

  private:
#if LIBXML_VERSION >= 21200
    static void onError(void *self, const xmlError *error) {
#else
    static void onError(void *self, xmlErrorPtr error) {
#endif
        if (error->code != XML_ERR_TAG_NAME_MISMATCH || error->ctxt == nullptr)
            return;
        auto *parser = static_cast<htmlParserCtxtPtr>(error->ctxt);
        auto &budget = *static_cast<StrayEndTagBudget *>(self);
        budget.left_ -= parser->nameNr;
        if (budget.left_ < 0)
            xmlStopParser(parser);
    }

    long long left_;
    xmlStructuredErrorFunc previousHandler_;
    void *previousContext_;
};

using HtmlDocument = std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)>;

HtmlDocument ParseHtml(const std::string &input) {
    if (input.size() > static_cast<std::size_t>(INT_MAX))
        throw Failure(error_number::outOfMemory, programSource,
                      "The HTML body is too large to be read");
    // No depth limit: mail with hundreds of unclosed tags is common enough, and the limit
    // would drop everything after the deepest point. The tree is walked without recursion.
    constexpr int options = HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                            HTML_PARSE_NONET | HTML_PARSE_COMPACT | XML_PARSE_HUGE;
    StrayEndTagBudget budget(input.size());
    HtmlDocument document(
        htmlReadMemory(input.data(), static_cast<int>(input.size()), nullptr, "UTF-8", options),
        &xmlFreeDoc);
    if (!document) {
        // Recovery gives a tree for any text, so only a failing allocation ends up here.
        const xmlError *error = xmlGetLastError();
        std::string detail = error && error->message ? error->message : "out of memory";
        while (!detail.empty() && detail.back() == '\n')
            detail.pop_back();
        throw Failure(error_number::outOfMemory, programSource,
                      "The HTML body could not be read: " + detail);
    }
    return document;
}

/// Turns the document tree into text, visiting the nodes in document order with the tree's
/// own links instead of recursion, so any depth of nesting is fine.
class TreeTextWriter {
  public:
    std::string write(xmlNode *root) {
        xmlNode *node = root;
        while (node != nullptr) {
            if (enter(node) && node->children != nullptr) {
                node = node->children;
                continue;
            }
            while (node != root && node->next == nullptr) {
                node = node->parent;
                leave(node);
            }
            node = node == root ? nullptr : node->next;
        }
        return writer_.finish();
    }

  private:
    /// Writes what a node shows before its children; false when they are left out.
    bool enter(xmlNode *node) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content != nullptr)
                writer_.word(reinterpret_cast<const char *>(node->content), preformatted_ > 0);
            return false;
        }
        if (node->type != XML_ELEMENT_NODE)
            return node->type == XML_DOCUMENT_NODE || node->type == XML_HTML_DOCUMENT_NODE;
        const std::string_view name = NameOf(node);
        if (Contains(hiddenElements, name))
            return false;
        if (name == "br")
            writer_.lineBreak();
        else if (name == "td" || name == "th")
            writer_.cellGap();
        else if (Contains(blockElements, name))
            writer_.endLine();
        if (name == "pre")
            ++preformatted_;
        if (node->children == nullptr)
            leave(node);
        return true;
    }

    /// Writes what an element shows after its children.
    void leave(xmlNode *node) {
        if (node->type != XML_ELEMENT_NODE)
            return;
        const std::string_view name = NameOf(node);
        if (Contains(blockElements, name))
            writer_.endLine();
        if (name == "p")
            writer_.lineBreak(); // paragraphs stand apart by an empty line
        if (name == "pre")
            --preformatted_;
    }

    TextWriter writer_;
    int preformatted_ = 0;
};

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
    const std::string name(entity);
    if (const htmlEntityDesc *named =
            htmlEntityLookup(reinterpret_cast<const xmlChar *>(name.c_str())))
        AppendUtf8(out, static_cast<char32_t>(named->value));
    return out;
}

std::string HtmlToText(std::string_view html) {
    const std::string input = ParserInput(html);
    if (input.empty())
        return {};
    const HtmlDocument document = ParseHtml(input);
    return TreeTextWriter().write(reinterpret_cast<xmlNode *>(document.get()));
}

} // namespace qb
