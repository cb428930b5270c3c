// Turning what Outlook data files hold into plain UTF-8 text.
#include "platform/linux/html_to_text.h"
#include "platform/linux/pff_codepage.h"
#include "platform/linux/pff_entry_id.h"
#include "platform/linux/pff_item_class.h"
#include "platform/linux/pff_message.h"
#include "platform/linux/pff_rtf_text.h"
#include "platform/linux/pff_time.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
        EXPECT_EQ(ItemClassOf(messageClass), itemClass) << messageClass;
}

TEST(PffSubject, DropsOnlyTheStoredPrefixMarker) {
    EXPECT_EQ(WithoutSubjectMarker("\x01\x05Re: Lunch"), "Re: Lunch");
    EXPECT_EQ(WithoutSubjectMarker("Re: Lunch"), "Re: Lunch");
    EXPECT_EQ(WithoutSubjectMarker("\x01"), "\x01");
    EXPECT_EQ(WithoutSubjectMarker(""), "");
}

TEST(PffTime, FormatsTheLongEnglishDateAndTime) {
    EXPECT_EQ(FormatLongDateTime({2024, 3, 3, 14, 5, 9}), "Sunday, March 3, 2024 2:05 PM");
    EXPECT_EQ(FormatLongDateTime({2000, 1, 1, 0, 0, 0}), "Saturday, January 1, 2000 12:00 AM");
    EXPECT_EQ(FormatLongDateTime({2011, 12, 31, 12, 59, 0}),
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

TEST(RtfToText, SurvivesCutOffInput) {
    EXPECT_EQ(RtfToText("{\\rtf1 text\\'e"), "text");
    EXPECT_EQ(RtfToText("}}}{\\"), "");
}

} // namespace
} // namespace qb
