#include "export/output_names.h"

#include "support/fakes.h"

#include <gtest/gtest.h>

namespace qb::exporting {
namespace {

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

TEST_F(OutputNames, ExpressNamesOfTheExamples) {
    EXPECT_EQ(ExpressFileName("Fwd: 50% off?", 3), "Fwd  50% off _3.txt");
    EXPECT_EQ(ExpressFileName("", 1), "_1.txt");
}

TEST_F(OutputNames, ExpressRuleTurnsEveryRefusedCharacterIntoABlank) {
    EXPECT_EQ(ExpressFileName("/\\*:?\"<>|", 12), "         _12.txt");
    EXPECT_EQ(ExpressFileName("???", 7), "   _7.txt");
    EXPECT_EQ(ExpressFileName("Same", 1), "Same_1.txt");
    EXPECT_EQ(ExpressFileName("Same", 2), "Same_2.txt");
    EXPECT_EQ(ExpressFileName("big", 32767), "big_32767.txt");
    EXPECT_EQ(ExpressFileName("a\tb\x01. ", 1), "a\tb\x01. _1.txt") << "nothing else changes";
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
