#include "express_registry/wine_prefix.h"
#include "wine/wine_registry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace qb {
namespace {

using namespace std::string_literals;

/// Every value of the key, by name.
std::map<std::string, RegistryValue> valuesOf(const RegistryKey &key) {
    std::map<std::string, RegistryValue> values;
    for (std::size_t index = 0; std::optional<RegistryValue> value = key.value(index); ++index)
        values[value->name] = *value;
    return values;
}

std::vector<std::string> subKeysOf(const RegistryKey &key) {
    std::vector<std::string> names;
    for (std::size_t index = 0; std::optional<std::string> name = key.subKeyName(index); ++index)
        names.push_back(*name);
    return names;
}

TEST(WineRegistry, ReadsEveryValueTypeAndEscape) {
    test::WinePrefixFolder prefix;
    prefix.writeRegistry("user.reg", R"([Software\\Values] 1700000000
#time=1d9c8b0a0b0c0d0
@="default"
"plain"="a b"
"quotes"="say \"hi\" \\ end"
"letters"="a\nb\tc\r"
"hex escape"="caf\xe9"
"hex escape before a hex digit"="\x00e9a"
"surrogate pair"="\xd83d\xde00"
"lone surrogate"="\xd83dz"
"utf8"="café"
"octal"="\101\0z"
"str"=str:"s"
"expand"=str(2):"%UserProfile%\\Mail"
"multi"=str(7):"a\0b\0"
"dword"=dword:fffffffe
"short dword"=dword:1
"binary"=hex:00,01,ff
"continued"=hex:01,02,\
  03,\
  04
"wide"=hex(2):41,00,e9,00,00,00
"odd wide"=hex(1):41,00,42
"empty"=hex(0):
"qword"=hex(b):01,00,00,00,00,00,00,00
"escaped \"name\""="v"
"spaced" = "w"
)");
    WineRegistry registry(prefix.path(), "ann");
    const std::unique_ptr<RegistryKey> key =
        registry.open(RegistryRoot::CurrentUser, "SOFTWARE\\values");
    ASSERT_TRUE(key);
    const std::map<std::string, RegistryValue> values = valuesOf(*key);

    const struct {
        std::string name;
        std::uint32_t type;
        std::string data;
    } cases[] = {
        {"", 1, "default\0"s},
        {"plain", 1, "a b\0"s},
        {"quotes", 1, "say \"hi\" \\ end\0"s},
        {"letters", 1, "a\nb\tc\r\0"s},
        {"hex escape", 1, "caf\xc3\xa9\0"s},
        {"hex escape before a hex digit", 1,
         "\xc3\xa9"
         "a\0"s},
        {"surrogate pair", 1, "\xf0\x9f\x98\x80\0"s},
        {"lone surrogate", 1, "\xef\xbf\xbdz\0"s},
        {"utf8", 1, "caf\xc3\xa9\0"s},
        {"octal", 1, "A\0z\0"s},
        {"str", 1, "s\0"s},
        {"expand", 2, "%UserProfile%\\Mail\0"s},
        {"multi", 7, "a\0b\0\0"s},
        {"dword", 4, "\xfe\xff\xff\xff"s},
        {"short dword", 4, "\x01\0\0\0"s},
        {"binary", 3, "\x00\x01\xff"s},
        {"continued", 3, "\x01\x02\x03\x04"s},
        {"wide", 2, "A\xc3\xa9\0"s},
        {"odd wide", 1, "A"s},
        {"empty", 0, ""s},
        {"qword", 11, "\x01\0\0\0\0\0\0\0"s},
        {"escaped \"name\"", 1, "v\0"s},
        {"spaced", 1, "w\0"s},
    };
    for (const auto &expected : cases) {
        SCOPED_TRACE(expected.name);
        const auto found = values.find(expected.name);
        ASSERT_NE(found, values.end());
        EXPECT_EQ(found->second.type, expected.type);
        EXPECT_EQ(found->second.data, expected.data);
    }
    EXPECT_EQ(values.size(), std::size(cases));
    EXPECT_EQ(key->value(1)->name, "plain"); // file order
}

TEST(WineRegistry, PassesOverDamagedLines) {
    test::WinePrefixFolder prefix;
    prefix.writeRegistry("user.reg", R"("before any key"="x"
[Damaged] 0
"good"="1"
"unterminated="2
"bad dword"=dword:xyz
"dword with a tail"=dword:00000001 x
"bad hex"=hex:01,zz
"hex ending early"=hex:01,\
"no equals" "3"
"deleted"=-
"unknown"=word:1
garbage line
[Broken\\Key 0
"lost"="4"
[damaged] 0
"later"="5"
)");
    WineRegistry registry(prefix.path(), "ann");
    const std::unique_ptr<RegistryKey> key = registry.open(RegistryRoot::CurrentUser, "Damaged");
    ASSERT_TRUE(key);
    std::vector<std::string> names;
    for (const auto &[name, value] : valuesOf(*key))
        names.push_back(name);
    EXPECT_EQ(names, (std::vector<std::string>{"good", "later"}));
    EXPECT_EQ(subKeysOf(*registry.open(RegistryRoot::CurrentUser, "")),
              (std::vector<std::string>{"Damaged"}));
}

TEST(WineRegistry, TextWithoutTheHeaderLineHoldsNoKeys) {
    test::WinePrefixFolder prefix;
    std::filesystem::path file = std::filesystem::path(prefix.path()) / "user.reg";
    std::ofstream(file) << "REGEDIT4\n[Software] 0\n\"a\"=\"b\"\n";
    WineRegistry registry(prefix.path(), "ann");
    EXPECT_FALSE(registry.open(RegistryRoot::CurrentUser, "Software"));
    ASSERT_TRUE(registry.open(RegistryRoot::CurrentUser, ""));
}

TEST(WineRegistry, KeysKeepFileOrderAndIgnoreLetterCase) {
    test::WinePrefixFolder prefix;
    prefix.writeRegistry("user.reg", "[B] 0\n[a\\\\x] 0\n[C] 0\n[A\\\\Y] 0\n\"v\"=\"1\"\n"
                                     "[a\\\\y] 0\n\"V\"=\"2\"\n");
    WineRegistry registry(prefix.path(), "ann");
    EXPECT_EQ(subKeysOf(*registry.open(RegistryRoot::CurrentUser, "")),
              (std::vector<std::string>{"B", "a", "C"}));
    EXPECT_EQ(subKeysOf(*registry.open(RegistryRoot::CurrentUser, "A")),
              (std::vector<std::string>{"x", "Y"}));
    // A later value of the same name, in any letter case, takes the earlier one's place.
    const std::unique_ptr<RegistryKey> key = registry.open(RegistryRoot::CurrentUser, "a\\y");
    ASSERT_TRUE(key);
    EXPECT_EQ(key->value(0)->data, "2\0"s);
    EXPECT_FALSE(key->value(1));
    EXPECT_FALSE(registry.open(RegistryRoot::CurrentUser, "A\\Z"));
}

TEST(WineRegistry, RootsMapToTheirFiles) {
    test::WinePrefixFolder prefix;
    prefix.writeRegistry("user.reg", "[Identities] 0\n");
    prefix.writeRegistry("system.reg",
                         "[Software\\\\Classes\\\\.txt] 0\n"
                         "[System\\\\CurrentControlSet\\\\Hardware Profiles\\\\Current\\\\"
                         "Software] 0\n");
    prefix.writeRegistry("userdef.reg", "[Control Panel\\\\Desktop] 0\n");
    WineRegistry registry(prefix.path(), "ann");
    const struct {
        RegistryRoot root;
        std::string path;
        bool opens;
    } cases[] = {
        {RegistryRoot::CurrentUser, "identities", true},
        {RegistryRoot::CurrentUser, "Software", false},
        {RegistryRoot::LocalMachine, "Software\\Classes\\.TXT", true},
        {RegistryRoot::ClassesRoot, ".txt", true},
        {RegistryRoot::ClassesRoot, "", true},
        {RegistryRoot::CurrentConfig, "SOFTWARE", true},
        {RegistryRoot::Users, ".Default\\Control Panel\\Desktop", true},
        {RegistryRoot::Users, "Control Panel", false},
        {RegistryRoot::PerformanceData, "", true},
        {RegistryRoot::DynData, "Software", false},
        {RegistryRoot::None, "", false},
    };
    for (const auto &expected : cases)
        EXPECT_EQ(registry.open(expected.root, expected.path) != nullptr, expected.opens)
            << static_cast<std::uint32_t>(expected.root) << " " << expected.path;
    EXPECT_FALSE(registry.open(RegistryRoot::PerformanceData, "")->subKeyName(0));
}

TEST(WineRegistry, WithoutAPrefixNoKeyOpens) {
    test::TempFolder folder;
    WineRegistry registry(folder / "no-prefix", "ann");
    for (RegistryRoot root : {RegistryRoot::CurrentUser, RegistryRoot::LocalMachine,
                              RegistryRoot::Users, RegistryRoot::PerformanceData})
        EXPECT_FALSE(registry.open(root, ""));
    EXPECT_EQ(registry.userProfile(), "C:\\users\\ann");
    EXPECT_THROW(WineRegistry(folder.path(), "").userProfile(), Failure);
}

TEST(WineRegistry, AnUnreadableFileIsAFailureNotAnEmptyRegistry) {
    test::WinePrefixFolder prefix;
    std::filesystem::create_directory(std::filesystem::path(prefix.path()) / "user.reg");
    WineRegistry registry(prefix.path(), "ann");
    EXPECT_THROW(registry.open(RegistryRoot::CurrentUser, ""), Failure);
}

} // namespace
} // namespace qb
