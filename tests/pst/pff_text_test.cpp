// Turning what Outlook data files hold into plain UTF-8 text.
#include "mail/item_class.h"
#include "mail/mail_time.h"
#include "pst/pff_entry_id.h"
#include "pst/pff_mail_store.h"
#include "pst/pff_message.h"
#include "pst/pff_time.h"
#include "support/sample_files.h"
#include "support/test_platform.h"
#include "text/codepage.h"
#include "text/html_to_text.h"
#include "text/rtf_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

namespace qb {
namespace {

TEST(PffCodepage, ConvertsEightBitTextOfTheNamedCodePage) {
    EXPECT_EQ(CodepageToUtf8("Caf\xE9 \x80", 1252), "Café €");
    EXPECT_EQ(CodepageToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2", 1251), "Привет");
    EXPECT_EQ(CodepageToUtf8("\x82\xA0", 932), "あ");
    EXPECT_EQ(CodepageToUtf8("Caf\xC3\xA9", 65001), "Café");
    EXPECT_EQ(CodepageToUtf8("Caf\xE9", 28591), "Café");
}

TEST(PffCodepage, UnknownCodePagesAndUndefinedBytesStillGiveText) {
    EXPECT_EQ(CodepageToUtf8("Caf\xE9", 0), "Café");
    EXPECT_EQ(CodepageToUtf8("Caf\xE9", 99999), "Café");
    EXPECT_EQ(CodepageToUtf8("a\x81z", 1252), "a\xEF\xBF\xBDz"); // 0x81 is undefined there
    EXPECT_EQ(CodepageToUtf8("a\xC3", 65001), "a\xEF\xBF\xBD");  // cut-off sequence
    EXPECT_TRUE(IsValidUtf8(CodepageToUtf8(std::string("\x00\xFF\xFE", 3), 936)));
}

TEST(PffItemClass, MapsMessageClassesToOutlookItemClasses) {
    const std::vector<std::pair<const char *, int>> cases{
        {"IPM.Note", 43},
        {"ipm.note.SMIME.MultipartSigned", 43},
        {"IPM.Post", 45},
        {"IPM.Appointment", 26},
        {"IPM.Schedule.Meeting.Request", 53},
        {"IPM.Schedule.Meeting.Canceled", 54},
        {"IPM.Schedule.Meeting.Resp.Neg", 55},
        {"IPM.Schedule.Meeting.Resp.Pos", 56},
        {"IPM.Schedule.Meeting.Resp.Tent", 57},
        {"IPM.Contact", 40},
        {"IPM.DistList", 69},
        {"IPM.Task", 48},
        {"IPM.TaskRequest", 49},
        {"IPM.TaskRequest.Update", 50},
        {"IPM.TaskRequest.Accept", 51},
        {"IPM.TaskRequest.Decline", 52},
        {"IPM.StickyNote", 44},
        {"IPM.Activity", 42},
        {"REPORT.IPM.Note.NDR", 46},
        {"IPM.Notes", 0},
        {"IPM", 0},
        {"IPM.Microsoft.ScheduleData.FreeBusy", 0},
        {"", 0},
    };
    for (const auto &[messageClass, itemClass] : cases)
        EXPECT_EQ(mail::ItemClassOf(messageClass), itemClass) << messageClass;
}

TEST(PffSubject, DropsOnlyTheStoredPrefixMarker) {
    EXPECT_EQ(WithoutSubjectMarker("\x01\x05Re: Lunch"), "Re: Lunch");
    EXPECT_EQ(WithoutSubjectMarker("Re: Lunch"), "Re: Lunch");
    EXPECT_EQ(WithoutSubjectMarker("\x01"), "\x01");
    EXPECT_EQ(WithoutSubjectMarker(""), "");
}

TEST(PffTime, FormatsTheLongEnglishDateAndTime) {
    EXPECT_EQ(mail::FormatLongDateTime({2024, 3, 3, 14, 5, 9}), "Sunday, March 3, 2024 2:05 PM");
    EXPECT_EQ(mail::FormatLongDateTime({2000, 1, 1, 0, 0, 0}),
              "Saturday, January 1, 2000 12:00 AM");
    EXPECT_EQ(mail::FormatLongDateTime({2011, 12, 31, 12, 59, 0}),
              "Saturday, December 31, 2011 12:59 PM");
}

TEST(PffTime, FiletimeBecomesLocalTime) {
    const char *savedZone = std::getenv("TZ");
    const std::string saved = savedZone ? savedZone : "";
    setenv("TZ", "UTC", 1);
    tzset();
    // 2024-03-03 14:05:09 UTC in 100-nanosecond ticks since 1601.
    const std::uint64_t filetime = (1709474709ULL + 11644473600ULL) * 10000000ULL;
    EXPECT_EQ(FiletimeToLocal(filetime), (LocalDateTime{2024, 3, 3, 14, 5, 9}));
    setenv("TZ", "America/New_York", 1);
    tzset();
    EXPECT_EQ(FiletimeToLocal(filetime), (LocalDateTime{2024, 3, 3, 9, 5, 9}));
    if (savedZone)
        setenv("TZ", saved.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

TEST(PffEntryId, RoundTripsAndRejectsForeignText) {
    const PffEntryId id{3, 2097476};
    const std::string text = FormatEntryId(id);
    EXPECT_EQ(text, "514250460000000300200144");
    EXPECT_EQ(ParseEntryId(text), id);
    EXPECT_EQ(ParseEntryId("514250460000000300200144"), id);
    EXPECT_EQ(ParseEntryId("514250460000000a0020014f"), (PffEntryId{10, 0x20014F}));
    EXPECT_FALSE(ParseEntryId("000000000000000300200144"));
    EXPECT_FALSE(ParseEntryId("51425046000000030020014"));
    EXPECT_FALSE(ParseEntryId("5142504600000003002001 4"));
    EXPECT_FALSE(ParseEntryId(""));
}

TEST(HtmlToText, DropsTagsAndBreaksLinesAtBlocks) {
    EXPECT_EQ(HtmlToText("<html><head><title>T</title><style>p{color:red}</style></head>"
                         "<body><p>Hello <b>World</b></p><div>Second</div>line<br>break"
                         "<script>alert(1)</script></body></html>"),
              "Hello World\n\nSecond\nline\nbreak");
    EXPECT_EQ(HtmlToText("<table><tr><td>a</td><td>b</td></tr><tr><td>c</td></tr></table>"),
              "a b\nc");
    EXPECT_EQ(HtmlToText("one\n   two\t<!-- <p>hidden</p> -->three"), "one two three");
    EXPECT_EQ(HtmlToText("<pre>keep   this\n  layout</pre>"), "keep   this\n  layout");
    EXPECT_EQ(HtmlToText("<a href=\"x>y\">link</a>"), "link");
}

TEST(HtmlToText, DecodesEntities) {
    EXPECT_EQ(HtmlToText("Tom &amp; Jerry &lt;3 &quot;x&quot; caf&eacute; &#233;&#xE9; &euro;"),
              "Tom & Jerry <3 \"x\" café éé €");
    EXPECT_EQ(HtmlToText("a&nbsp;b &unknown; &amp"), "a b &unknown; &amp");
    EXPECT_EQ(DecodeHtmlEntity("eacute"), "é");
    EXPECT_EQ(DecodeHtmlEntity("#x1F600"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(DecodeHtmlEntity("#0"), "\xEF\xBF\xBD");
    EXPECT_EQ(DecodeHtmlEntity("Eacute"), "É");
    EXPECT_EQ(DecodeHtmlEntity("#12x"), "");
    EXPECT_EQ(DecodeHtmlEntity("nosuchname"), "");
}

TEST(HtmlToText, ReadsWhatOutlookAndOtherMailersWrite) {
    const std::vector<std::pair<std::string, std::string>> cases{
        // Word's list numbers sit between declarations that are not text.
        {"<!--[if gte mso 9]><xml><o:OfficeDocumentSettings></o:OfficeDocumentSettings></xml>"
         "<![endif]--><p class=MsoListParagraph><![if !supportLists]>1.&nbsp;<![endif]>Item"
         "<o:p></o:p></p><p class=MsoNormal>Next<o:p></o:p></p>",
         "1. Item\n\nNext"},
        {"<body><xml>island</xml>shown</body>", "shown"},
        // The body arrives as UTF-8 whatever the document says of itself.
        {"<head><meta charset=\"windows-1252\"></head>caf\xC3\xA9", "café"},
        {std::string("caf\xE9 \0ok", 8), "caf\xEF\xBF\xBD ok"},
        {"a</b>b</i><span>c", "abc"},
        {"<p>one</p><p>&nbsp;</p><div> </div><p>two</p>", "one\n\ntwo"},
        {"", ""},
    };
    for (const auto &[html, text] : cases)
        EXPECT_EQ(HtmlToText(html), text) << html;
}

TEST(HtmlToText, KeepsTheTextOfDeeplyNestedDocuments) {
    constexpr int depth = 50000;
    std::string html = "start";
    for (int i = 0; i < depth; ++i)
        html += "<div><font>";
    html += "deep";
    for (int i = 0; i < depth; ++i)
        html += "</font></div>";
    EXPECT_EQ(HtmlToText(html + "after"), "start\n\ndeep\nafter");
}

TEST(RtfToText, ReadsParagraphsCodePageBytesAndUnicode) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}"
                            "{\\colortbl;\\red0\\green0\\blue0;}"
                            "\\pard Caf\\'e9 au lait\\par Second\\tab line\\line "
                            "\\u8364?uro {\\*\\generator Riched20;}\\{braces\\}}";
    EXPECT_EQ(RtfToText(rtf), "Café au lait\nSecond\tline\n€uro {braces}");
}

TEST(RtfToText, GivesTheTextOfEncapsulatedHtml) {
    const std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0"
                            "{\\*\\htmltag19 <html>}{\\*\\htmltag50 <body>}"
                            "\\htmlrtf {\\htmlrtf0 {\\*\\htmltag64 <p>}Hello "
                            "{\\*\\htmltag84 <b>}W\\'f6rld{\\*\\htmltag92 </b>}"
                            "{\\*\\htmltag72 </p>}\\htmlrtf \\par \\htmlrtf0 }"
                            "{\\*\\htmltag58 </body>}}";
    EXPECT_EQ(RtfToText(rtf), "Hello Wörld");
}

TEST(RtfToText, ReadsBytesInTheCodePageOfTheFontsCharacterSet) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}"
        "{\\f1\\fswiss\\fcharset204 Arial Cyr;}{\\f2\\fcharset2 Symbol;}}"
        "\\f1 \\'cf\\'f0\\'e8 {\\f0 caf\\'e9} \\'e2\\plain  \\'e9 {\\f2 \\'e9}}";
    EXPECT_EQ(RtfToText(rtf), "При café в é é");
}

TEST(EncapsulatedHtml, GivesBackTheHtmlAnRtfBodyWraps) {
    const struct {
        const char *what;
        std::string rtf;
        std::optional<std::string> html;
    } cases[] = {
        {"markup and text, without what only RTF readers see",
         "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
         "{\\*\\htmltag64}\\uc1\\pard\\plain\\f0\\fs24 "
         "{\\*\\htmltag19 <html>\\par <head>\\par <style>\\par p \\{margin:0\\}\\par </style>}"
         "{\\*\\htmltag34 </head>\\par <body>}"
         "{\\*\\htmltag64 <p class=\"x\">}\\htmlrtf {\\htmlrtf0 Gr\\'fc\\'dfe "
         "{\\*\\htmltag84 <b>}\\htmlrtf {\\b \\htmlrtf0 aus K\\'f6ln\\htmlrtf }\\htmlrtf0 "
         "{\\*\\htmltag92 </b>}\\htmlrtf \\par \\htmlrtf0 }"
         "{\\*\\htmltag72 </p>}{\\*\\htmltag84 &nbsp;}\\htmlrtf \\'a0\\htmlrtf0 "
         "{\\*\\htmltag84 <img src=\"cid:image001.png@01D0\">}"
         "{\\*\\mhtmltag84 <img src=\"file://image001.png\">}"
         "{\\*\\htmltag58 </body>\\par </html>}}",
         "<html>\r\n<head>\r\n<style>\r\np {margin:0}\r\n</style></head>\r\n<body>"
         "<p class=\"x\">Grüße <b>aus Köln</b></p>&nbsp;<img src=\"cid:image001.png@01D0\">"
         "</body>\r\n</html>"},
        {"escapes of the markup: tabs, Unicode, code-page bytes, symbols",
         "{\\rtf1\\ansi\\ansicpg1251\\fromhtml1 {\\*\\htmltag0 <p\\tab title=\"\\'cf\\u8364?\\~\">}"
         "\\ldblquote x\\rdblquote\\line {\\*\\htmltag0 </p>}}",
         "<p\ttitle=\"П€\xC2\xA0\">“x”</p>"},
        {"an ordinary RTF body wraps no HTML", "{\\rtf1\\ansi Text\\par}", std::nullopt},
        {"plain text wrapped in RTF is no HTML", "{\\rtf1\\ansi\\fromtext Text\\par}",
         std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EncapsulatedHtml(c.rtf), c.html) << c.what;
}

TEST(RtfToText, LeavesOutPicturesObjectsAndHiddenGroupsWhateverTheyHold) {
    using namespace std::string_literals;
    const std::vector<std::pair<std::string, std::string>> cases{
        // Raw picture bytes may hold braces and backslashes; they are data, not groups.
        {"{\\rtf1\\ansi First\\par {\\*\\shppict{\\pict\\pngblip\\bin12 "s +
             "\x89PNG}{\\\0\xFF{}\\"s + "}}After\\par Last}",
         "First\nAfter\nLast"},
        {"{\\rtf1 A{\\*\\shpinst{\\sp{\\sn pib}{\\sv {\\pict\\bin3 }}}}}}}"
         "{\\*\\unknown{\\nested{\\deeper text}\\par}}B}",
         "AB"},
        {"{\\rtf1 Before{\\*\\shppict{\\pict\\wmetafile8 7b7d5c0d0a}}"
         "{\\nonshppict{\\pict 7b7d}}{\\object{\\*\\objdata 0102}}After}",
         "BeforeAfter"},
        {"{\\rtf1 Text{\\pict\\bin999999999 abc}", "Text"},
        {"{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt Link}}}", "Link"},
        {"{\\rtf1 a\\cell b\\nestcell{\\nonesttables\\par}c\\row}", "a b c\n"},
        // Bytes written as they are belong to the code page; \\u pairs make one character.
        {"{\\rtf1\\ansi\\ansicpg1251 \xCF\xF0\xE8}", "При"},
        {"{\\rtf1 \\u-10179?\\u-8704?!}", "\xF0\x9F\x98\x80!"},
        {"{\\rtf1 a\\u-10179?b}", "a\xEF\xBF\xBD"
                                  "b"},
        {"{\\rtf1\\ansicpg65001 a\xFF\xC3\xA9}", "a\xEF\xBF\xBD\xC3\xA9"},
    };
    for (const auto &[rtf, text] : cases)
        EXPECT_EQ(RtfToText(rtf), text) << rtf;
}

TEST(RtfToText, AlwaysGivesWellFormedUtf8) {
    // Documents built from RTF's pieces in random order, with raw bytes among them.
    const std::vector<std::string> pieces{"{",
                                          "}",
                                          "\\par ",
                                          "\\'e9",
                                          "\\'8",
                                          "\\u-10179?",
                                          "\\u8364?",
                                          "\\bin2 ",
                                          "\\pict ",
                                          "\\*",
                                          "\\ansicpg65001 ",
                                          "\\ansicpg932 ",
                                          "\\fromhtml1 ",
                                          "\\htmltag ",
                                          "\xFF",
                                          "\xC3",
                                          "\x82\xA0",
                                          "\xF4\x90\x80\x80",
                                          "text ",
                                          "<p>&eacute;",
                                          "\\"};
    std::mt19937 random(7);
    for (int document = 0; document < 300; ++document) {
        std::string rtf = "{\\rtf1 ";
        for (int piece = 0; piece < 60; ++piece)
            rtf += pieces[random() % pieces.size()];
        EXPECT_TRUE(IsValidUtf8(RtfToText(rtf))) << rtf;
    }
}

// An RTF body of the offline store holds a picture stored as raw bytes.
TEST(SampleOfflineStoreRtf, KeepsTheTextAfterThePictureOfABody) {
    const std::string samples = test::RequireSamples();
    if (samples.empty())
        return;
    test::TempFolder folder;
    PffMailStoreLayer layer(folder / "no profile");
    auto mapi = layer.createApplication()->GetNamespace("MAPI");
    mapi->AddStore(samples + "/offline-store.ost");
    std::vector<std::shared_ptr<outlook::Folder>> folders{mapi->folders()->GetLast()};
    int found = 0;
    while (!folders.empty()) {
        auto current = folders.back();
        folders.pop_back();
        for (int i = 1; i <= current->folders()->count(); ++i)
            folders.push_back(current->folders()->item(i));
        for (int i = 1; i <= current->items()->count(); ++i) {
            const std::string body = current->items()->item(i)->Body();
            if (body.find("Celebrating 10,000 customers") == std::string::npos)
                continue;
            ++found;
            EXPECT_TRUE(IsValidUtf8(body));
            EXPECT_EQ(body.find("pictureGray"), std::string::npos);
            EXPECT_NE(body.find("Privacy Policy | Update Profile | Unsubscribe"),
                      std::string::npos);
        }
    }
    EXPECT_GT(found, 0) << "the message with the picture was not found";
}

TEST(RtfToText, SurvivesCutOffInput) {
    EXPECT_EQ(RtfToText("{\\rtf1 text\\'e"), "text");
    EXPECT_EQ(RtfToText("}}}{\\"), "");
}

} // namespace
} // namespace qb
