#include "export/output_names.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

namespace qb::exporting {
namespace {

std::string Repeated(const std::string &text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

class OutputNames : public ::testing::Test {
  protected:
    test::FakeLocale locale;
};

TEST_F(OutputNames, TimeStampHoursRunFromOneToTwelve) {
    EXPECT_EQ(OutlookTimeStamp({2024, 1, 2, 0, 0, 0}, locale), "01-02-2024 12 00 00 AM");
    EXPECT_EQ(OutlookTimeStamp({2024, 1, 2, 1, 2, 3}, locale), "01-02-2024 01 02 03 AM");
    EXPECT_EQ(OutlookTimeStamp({2024, 1, 2, 11, 59, 59}, locale), "01-02-2024 11 59 59 AM");
    EXPECT_EQ(OutlookTimeStamp({2024, 1, 2, 12, 0, 0}, locale), "01-02-2024 12 00 00 PM");
    EXPECT_EQ(OutlookTimeStamp({2024, 1, 2, 23, 0, 0}, locale), "01-02-2024 11 00 00 PM");
    EXPECT_EQ(OutlookTimeStamp({987, 10, 31, 13, 0, 0}, locale), "10-31-0987 01 00 00 PM");
}

TEST_F(OutputNames, TimeStampUsesTheLocaleDesignators) {
    locale.am = "vorm.";
    locale.pm = "nachm.";
    EXPECT_EQ(OutlookTimeStamp({2024, 5, 6, 9, 8, 7}, locale), "05-06-2024 09 08 07 vorm.");
    EXPECT_EQ(OutlookTimeStamp({2024, 5, 6, 12, 8, 7}, locale), "05-06-2024 12 08 07 nachm.");
    locale.am = "";
    EXPECT_EQ(OutlookTimeStamp({2024, 5, 6, 9, 8, 7}, locale), "05-06-2024 09 08 07 ");
}

TEST_F(OutputNames, ExpressNames) {
    const std::string x249(249, 'x');
    const struct {
        const char *what;
        std::string subject;
        std::int32_t number;
        std::string name;
    } cases[] = {
        {"example", "Fwd: 50% off?", 3, "Fwd  50% off _3.txt"},
        {"empty subject", "", 1, "_1.txt"},
        {"every refused character", "/\\*:?\"<>|", 12, "         _12.txt"},
        {"only refused characters", "???", 7, "   _7.txt"},
        {"same subject, first", "Same", 1, "Same_1.txt"},
        {"same subject, second", "Same", 2, "Same_2.txt"},
        {"a wide number", "big", 100000, "big_100000.txt"},
        {"nothing else changes", "a\tb\x01. ", 1, "a\tb\x01. _1.txt"},
        {"just fits", x249, 1, x249 + "_1.txt"},
        {"too long: the subject is cut", x249 + "y", 1, x249 + "_1.txt"},
        {"the same subject cut for a longer number", x249 + "y", 10, x249.substr(1) + "_10.txt"},
        {"far too long", std::string(4000, '/'), 2, std::string(249, ' ') + "_2.txt"},
        // 249 bytes would end inside the 125th two-byte character.
        {"cut at a character boundary", Repeated("\xc3\xa9", 200), 1,
         Repeated("\xc3\xa9", 124) + "_1.txt"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExpressFileName(c.subject, c.number), c.name) << c.what;
}

TEST_F(OutputNames, ExpressRecordLayout) {
    const ExpressRecordFields fields{"Ann <ann@example.org>", "bob@example.org", "Hello",
                                     "Mon, 4 Mar 2024 10:00:00 +0100"};
    EXPECT_EQ(ExpressRecord(fields, "Body without end"),
              "From: Ann <ann@example.org>\r\n"
              "To: bob@example.org\r\n"
              "Subject: Hello\r\n"
              "Date Received: Mon, 4 Mar 2024 10:00:00 +0100\r\n"
              "\r\n"
              "Body without end");
    EXPECT_EQ(ExpressRecord({}, ""), "From: \r\nTo: \r\nSubject: \r\nDate Received: \r\n\r\n");
}

} // namespace
} // namespace qb::exporting
