#include "express/registry_access.h"
#include "express_registry/wine_prefix.h"
#include "wine/wine_registry.h"

#include <gtest/gtest.h>

namespace qb::express {
namespace {

class RegistryAccessTest : public ::testing::Test {
  protected:
    test::TestPlatform fixture;
    test::WinePrefixFolder prefix;
};

TEST_F(RegistryAccessTest, SplitsOnlyPathsThatBeginWithHkeyAndDoNotEndInABackslash) {
    const struct {
        std::string path;
        RegistryRoot root;
        std::string subKeyPath;
        bool incorrect;
    } cases[] = {
        {"HKEY_CURRENT_USER", RegistryRoot::CurrentUser, "", false},
        {"HKEY_LOCAL_MACHINE\\Software\\Wine", RegistryRoot::LocalMachine, "Software\\Wine", false},
        {"HKEY_DYN_DATA\\x", RegistryRoot::DynData, "x", false},
        {"HKEY_BOGUS\\x", RegistryRoot::None, "x", false},
        {"HKEY_current_user\\x", RegistryRoot::None, "x", false},
        {"hkey_current_user\\x", RegistryRoot::None, "hkey_current_user\\x", true},
        {"HKEY_CURRENT_USER\\Identities\\", RegistryRoot::None, "HKEY_CURRENT_USER\\Identities\\",
         true},
        {"{A}\\Software", RegistryRoot::None, "{A}\\Software", true},
    };
    for (const auto &expected : cases) {
        SCOPED_TRACE(expected.path);
        fixture.messageBoxes.shown.clear();
        const KeyPath split = SplitKeyPath(fixture.platform.messages, expected.path);
        EXPECT_EQ(split.root, expected.root);
        EXPECT_EQ(split.subKeyPath, expected.subKeyPath);
        if (expected.incorrect) {
            ASSERT_EQ(fixture.messageBoxes.shown.size(), 1u);
            EXPECT_EQ(fixture.messageBoxes.shown[0].text, "Incorrect Format:\n\n" + expected.path);
            EXPECT_EQ(fixture.messageBoxes.shown[0].title, "Quillbarrow");
        } else {
            EXPECT_TRUE(fixture.messageBoxes.shown.empty());
        }
    }
}

TEST_F(RegistryAccessTest, SubKeyNamesMustFitTheNameBuffer) {
    const std::string fits(259, 'k');
    prefix.writeRegistry("user.reg", "[Short\\\\" + fits + "] 0\n[Long\\\\" + fits + "k] 0\n");
    WineRegistry registry(prefix.path(), "ann");
    EXPECT_EQ(GetSubKeys(fixture.platform.messages, registry, "HKEY_CURRENT_USER"),
              (std::vector<std::string>{"Short", "Long"}));
    EXPECT_EQ(GetSubKeys(fixture.platform.messages, registry, "HKEY_CURRENT_USER\\short"),
              std::vector<std::string>{fits});
    EXPECT_THROW(GetSubKeys(fixture.platform.messages, registry, "HKEY_CURRENT_USER\\Long"),
                 Failure);
    EXPECT_TRUE(GetSubKeys(fixture.platform.messages, registry, "HKEY_CURRENT_USER\\Short\\" + fits)
                    .empty());
    EXPECT_TRUE(
        GetSubKeys(fixture.platform.messages, registry, "HKEY_CURRENT_USER\\Missing").empty());
    EXPECT_TRUE(fixture.messageBoxes.shown.empty());
}

TEST_F(RegistryAccessTest, ValuesAreConvertedByTypeAndFoundInAnyLetterCase) {
    prefix.writeRegistry("user.reg", "[Store] 0\n"
                                     "\"Store Root\"=str(2):\"%UserProfile%\\\\Mail\\\\\"\n"
                                     "\"Empty\"=\"\"\n"
                                     "\"Count\"=dword:ffffffff\n"
                                     "\"Bytes\"=hex:41,00,42\n"
                                     "\"" +
                                         std::string(260, 'n') +
                                         "\"=\"too long a name\"\n"
                                         "\"After\"=\"never reached\"\n");
    WineRegistry registry(prefix.path(), "ann");
    const KeyValues values =
        GetKeyValues(fixture.platform.messages, registry, "HKEY_CURRENT_USER\\Store");
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values.items()[0].first, "Store Root");
    EXPECT_EQ(values.item("STORE ROOT"), KeyValue(std::string("%UserProfile%\\Mail\\")));
    EXPECT_EQ(values.item("empty"), KeyValue(std::string()));
    EXPECT_EQ(values.item("Count"), KeyValue(std::int32_t{-1}));
    EXPECT_EQ(KeyValueText(values.item("Count")), "-1");
    EXPECT_EQ(values.item("Bytes"), KeyValue(std::string("A\0B", 3)));
    EXPECT_THROW(values.item("After"), Failure);
    EXPECT_TRUE(
        GetKeyValues(fixture.platform.messages, registry, "HKEY_CURRENT_USER\\Missing").empty());
}

} // namespace
} // namespace qb::express
