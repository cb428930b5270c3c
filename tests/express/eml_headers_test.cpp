#include "express/eml_headers.h"
#include "express/eml_messages.h"

#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace qb::express {
namespace {

TEST(GetHeaderValue, ScansLinesAsTheListShowsThem) {
    struct Case {
        const char *what;
        std::string text;
        const char *name;
        std::string value;
    };
    const Case cases[] = {
        {"found below other headers", "From: a\r\nSubject: Hello\r\n\r\nbody", "Subject", "Hello"},
        {"letter case counts", "SUBJECT: a\r\nsubject: b\r\n", "Subject", ""},
        {"no blank before the colon", "Subject : Hello\r\n", "Subject", ""},
        {"a longer name is another header", "Dated: x\r\nDate-Sent: y\r\nDate: z", "Date", "z"},
        {"blanks trimmed, tabs kept", "Subject:   \tHi \t  \r\n", "Subject", "\tHi \t"},
        {"first header of that name wins", "To: one\r\nTo: two\r\n", "To", "one"},
        {"folded header: its first line only", "Subject: first\r\n second\r\n", "Subject", "first"},
        {"scan runs into the body", "From: a\r\nDate: d\r\n\r\nTo: in the body\r\n", "To",
         "in the body"},
        {"empty value", "Date:\r\nDate: later\r\n", "Date", ""},
        {"blank value", "Date:    \r\n", "Date", ""},
        {"encoded word kept raw", "Subject: =?UTF-8?B?R3LDvMOfZQ==?=\r\n", "Subject",
         "=?UTF-8?B?R3LDvMOfZQ==?="},
        {"leading empty lines skipped", "\r\n\r\nDate: x", "Date", "x"},
        {"last line without a line end", "A: 1\r\nDate: end", "Date", "end"},
        {"LF alone ends no line: the value runs to the end", "Date: Mon\nTo: b\n", "Date",
         "Mon\nTo: b\n"},
        {"LF alone ends no line: later headers are not found", "Date: Mon\nTo: b\n", "To", ""},
        {"CR alone ends no line", "X: a\rSubject: b\r\n", "Subject", ""},
        {"missing header", "From: a\r\n\r\nbody", "Subject", ""},
        {"empty text", "", "Date", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(GetHeaderValue(c.text, c.name), c.value) << c.what;
}

TEST(ReadWholeFile, PassesBytesThroughUndecoded) {
    test::TestPlatform t;
    const std::string bytes("\xFF\xFEU\0T\0F\0\r\n=?x?=\x80", 14);
    t.folder.write("raw.eml", bytes);
    t.folder.write("empty.eml", "");
    EXPECT_EQ(ReadWholeFile(t.files, t.folder / "raw.eml"), bytes);
    EXPECT_EQ(ReadWholeFile(t.files, t.folder / "empty.eml"), "");
    EXPECT_THROW(ReadWholeFile(t.files, t.folder / "missing.eml"), Failure);
}

class LoadEmlMessagesTest : public ::testing::Test {
  protected:
    /// Each row's cells and its file name, keyed by the file name.
    std::map<std::string, std::vector<std::string>> rowsByFile() const {
        std::map<std::string, std::vector<std::string>> rows;
        EXPECT_EQ(names.size(), static_cast<std::size_t>(list.rowCount() - 1));
        for (std::size_t i = 0; i < names.size(); ++i) {
            const int row = static_cast<int>(i) + 2;
            rows[names[i]] = {std::string(list.text(row)), std::string(list.subItem(row, 1)),
                              std::string(list.subItem(row, 2)), std::string(list.subItem(row, 3))};
        }
        return rows;
    }

    test::TestPlatform t;
    ListView list{"ListView2", {}};
    std::vector<std::string> names;
};

TEST_F(LoadEmlMessagesTest, AppendsOneRowPerDatedFileInStepWithItsName) {
    // A row from an earlier reading stays first.
    list.addRow({"earlier"});
    t.folder.write("a.eml",
                   "From: Ann\r\nTo: Bob\r\nSubject: Same\r\nDate: Mon, 1 Jan 2024\r\n\r\n");
    t.folder.write("b.eml", "Subject: Same\r\nFrom: Cy\r\nDate: Mon, 1 Jan 2024\r\n\r\nTo: x");
    t.folder.write("undated.eml", "From: Ann\r\nSubject: no date\r\n\r\nbody");
    t.folder.write("blank-date.eml", "From: Ann\r\nDate:  \r\n\r\nbody");
    t.folder.write("lower.eml", "From: Ann\r\ndate: Mon, 1 Jan 2024\r\n\r\nbody");
    t.folder.write("note.txt", "Date: Mon\r\n");
    t.folder.write(".hidden.eml", "Date: Mon\r\n");
    std::filesystem::create_directory(t.folder / "folder.eml");

    LoadEmlMessages(t.files, t.folder.path(), list, names);

    const std::map<std::string, std::vector<std::string>> expected{
        {"a.eml", {"Ann", "Bob", "Same", "Mon, 1 Jan 2024"}},
        {"b.eml", {"Cy", "x", "Same", "Mon, 1 Jan 2024"}},
    };
    EXPECT_EQ(rowsByFile(), expected);
    EXPECT_EQ(list.text(1), "earlier");
    for (int row = 1; row <= list.rowCount(); ++row)
        EXPECT_FALSE(list.checked(row));
}

TEST_F(LoadEmlMessagesTest, FromToAndSubjectShowEncodedWordsDecodedTheDateAsWritten) {
    struct Case {
        const char *what;
        std::string raw;
        std::string shown; // the raw value itself when empty
    };
    const Case cases[] = {
        {"plain text", "Lunch on Friday", ""},
        {"UTF-8, Q",
         "=?utf-8?Q?Fw:_Cat=C3=B3lica_EAD_-_Novidades?=", "Fw: Católica EAD - Novidades"},
        {"UTF-8, B, names in capitals", "=?UTF-8?B?R3LDvMOfZQ==?=", "Grüße"},
        {"ISO-8859-1, small q and hex digits", "=?iso-8859-1?q?caf=e9?=", "café"},
        {"KOI8-R, B", "=?KOI8-R?B?8NLJ18XU?=", "Привет"},
        {"Shift_JIS, B", "=?Shift_JIS?B?k/qWe4zq?=", "日本語"},
        {"base64 without its padding", "=?utf-8?b?w6k?=", "é"},
        {"a language after the charset", "=?utf-8*pt?Q?n=C3=A3o?=", "não"},
        {"text and blanks around a word stay", "Re:  =?utf-8?Q?Caf=C3=A9?= at 9", "Re:  Café at 9"},
        {"a name before its address", "=?utf-8?Q?Jos=C3=A9?= <jose@example.com>",
         "José <jose@example.com>"},
        {"blanks between adjacent words go", "=?utf-8?Q?a?= =?utf-8?Q?b?=  \t=?UTF-8?Q?c?=", "abc"},
        {"a character split between two words", "=?utf-8?Q?=C3?= =?utf-8?Q?=A9t=C3=A9?=", "été"},
        {"a malformed word: unknown charset", "=?x-no-such?Q?abc?=", ""},
        {"a malformed word: unknown encoding", "=?utf-8?X?abc?=", ""},
        {"a malformed word: broken Q escape", "=?utf-8?Q?a=ZZ?=", ""},
        {"a malformed word: outside the base64 alphabet", "=?utf-8?B?w6k#?=", ""},
        {"a malformed word: bytes that are no UTF-8", "=?utf-8?Q?caf=E9?=", ""},
        {"a malformed word: no end", "=?utf-8?Q?caf=C3=A9", ""},
        {"a malformed word: a blank inside", "=?utf-8?Q?a b?=", ""},
        {"a malformed word: iconv options in the charset", "=?utf-8//IGNORE?Q?caf=E9?=", ""},
        {"a malformed word keeps its blank to a good one",
         "=?utf-8?Q?caf=E9?= =?utf-8?Q?ok?=", "=?utf-8?Q?caf=E9?= ok"},
        {"8-bit bytes outside words pass unchanged", "caf\xe9 =?utf-8?Q?ok?=", "caf\xe9 ok"},
    };
    std::map<std::string, std::vector<std::string>> expected;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case &c = cases[i];
        const std::string name = "m" + std::to_string(i) + ".eml";
        t.folder.write(name, "From: " + c.raw + "\r\nTo: " + c.raw + "\r\nSubject: " + c.raw +
                                 "\r\nDate: " + c.raw + "\r\n\r\nbody");
        const std::string shown = c.shown.empty() ? c.raw : c.shown;
        expected[name] = {shown, shown, shown, c.raw};
    }
    list.addRow({"earlier"});
    LoadEmlMessages(t.files, t.folder.path(), list, names);
    const std::map<std::string, std::vector<std::string>> rows = rowsByFile();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const std::string name = "m" + std::to_string(i) + ".eml";
        EXPECT_EQ(rows.at(name), expected[name]) << cases[i].what;
    }
}

TEST(InMailboxOrder, OrdersByTheMessageNumbersValue) {
    EXPECT_EQ(InMailboxOrder({"Inbox-00010.eml", "Inbox-100000.eml", "Inbox-00002.eml",
                              "Inbox-99999.eml", "Inbox-00001-2.eml", "Inbox-00001.eml",
                              "Inbox-1.eml", "2020-00003.eml", "Inbox-00001-10.eml"}),
              (std::vector<std::string>{"2020-00003.eml", "Inbox-00001-2.eml", "Inbox-00001-10.eml",
                                        "Inbox-00001.eml", "Inbox-1.eml", "Inbox-00002.eml",
                                        "Inbox-00010.eml", "Inbox-99999.eml", "Inbox-100000.eml"}));
}

} // namespace
} // namespace qb::express
