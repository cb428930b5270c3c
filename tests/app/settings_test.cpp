#include "app/settings.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

namespace qb {
namespace {

TEST(SettingsConversion, BooleansAcceptWordsAndNumbers) {
    EXPECT_TRUE(ToBoolean("True"));
    EXPECT_FALSE(ToBoolean("False"));
    EXPECT_TRUE(ToBoolean("true"));
    EXPECT_TRUE(ToBoolean("1"));
    EXPECT_TRUE(ToBoolean("-1"));
    EXPECT_TRUE(ToBoolean(" 2.5 "));
    EXPECT_FALSE(ToBoolean("0"));
    EXPECT_THROW(ToBoolean("yes"), Failure);
    EXPECT_THROW(ToBoolean(""), Failure);
}

TEST(SettingsConversion, Integer16RoundsHalvesToEvenAndRejectsOverflow) {
    EXPECT_EQ(ToInteger16("7"), 7);
    EXPECT_EQ(ToInteger16("-1"), -1);
    EXPECT_EQ(ToInteger16("2.5"), 2);
    EXPECT_EQ(ToInteger16("3.5"), 4);
    EXPECT_EQ(ToInteger16("32767"), 32767);
    try {
        ToInteger16("40000");
        FAIL();
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), 6);
    }
    try {
        ToInteger16("abc");
        FAIL();
    } catch (const Failure &failure) {
        EXPECT_EQ(failure.number(), 13);
        EXPECT_EQ(failure.description(), "Type mismatch");
    }
}

TEST(Settings, ReadsDefaultsWhenKeysAreAbsent) {
    test::TestPlatform fixture;
    Settings settings(fixture.settings, fixture.platform.messages);
    EXPECT_TRUE(settings.boolean("Option1", "1"));
    EXPECT_EQ(settings.text("Text1"), "");
    fixture.settings.values["Text1"] = "smith";
    EXPECT_EQ(settings.text("Text1"), "smith");
}

TEST(Settings, AnUnwritableStoreIsToldOnceAndTheProgramGoesOn) {
    test::TestPlatform fixture;
    Settings settings(fixture.settings, fixture.platform.messages);
    fixture.settings.failWrites = true;
    settings.write("Text1", "a");
    settings.write("Text1", "ab");
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_NE(fixture.messageBoxes.shown[0].text.find("cannot be saved"), std::string::npos);
    EXPECT_EQ(fixture.messageBoxes.shown[0].title, "Quillbarrow");
}

TEST(Settings, AnUnreadableStoreIsToldOnceAndTheDefaultsServe) {
    test::TestPlatform fixture;
    Settings settings(fixture.settings, fixture.platform.messages);
    fixture.settings.failReads = true;
    EXPECT_TRUE(settings.boolean("Option1", "True"));
    EXPECT_EQ(settings.text("Text1", "x"), "x");
    ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
    EXPECT_NE(fixture.messageBoxes.shown[0].text.find("cannot be read"), std::string::npos);
}

} // namespace
} // namespace qb
