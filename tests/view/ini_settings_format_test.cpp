#include "platform/qt/ini_settings_format.h"
#include "support/test_platform.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QSettings>

#include <string>

namespace qb {
namespace {

QSettings::SettingsMap Read(const QByteArray &text) {
    QByteArray bytes = text;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QSettings::SettingsMap map;
    EXPECT_TRUE(ReadIniText(buffer, map));
    return map;
}

QByteArray Written(const QSettings::SettingsMap &map) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteIniText(buffer, map));
    return bytes;
}

// Texts that need every kind of care in the file, under keys that need escaping.
QSettings::SettingsMap AwkwardSettings() {
    QSettings::SettingsMap map;
    map.insert("Top", "at the top");
    map.insert("Quillbarrow/PST File", "/data/old mail, 2019.pst");
    map.insert("Quillbarrow/Text1", "  blanks at both ends\t");
    map.insert("Quillbarrow/Text2", "a;b=c \"quoted\" back\\slash");
    map.insert("Quillbarrow/Text3", QString::fromLatin1("nul\0"
                                                        "1f\x01"
                                                        "a\nline\r"
                                                        "end",
                                                        17));
    map.insert("Quillbarrow/Text4", "@home and @@ more");
    map.insert("Quillbarrow/Text5", QString::fromUtf8("caf\xc3\xa9 \xf0\x9f\x93\xa7 \xe2\x82\xac"));
    map.insert("Quillbarrow/Empty", "");
    map.insert(QString::fromUtf8("Quillbarrow/a,b %20 \xc3\xa9\xe2\x82\xac"), "odd key");
    map.insert("Quillbarrow/Nested/Key", "nested");
    map.insert("General/Option1", "a group named General");
    map.insert("Other/List", QStringList{"one", " two", "three, four"});
    return map;
}

TEST(IniSettingsFormat, WhatItWritesReadsBackTheSameAndQtReadsItToo) {
    const QSettings::SettingsMap map = AwkwardSettings();
    const QByteArray text = Written(map);
    EXPECT_EQ(Read(text), map) << text.toStdString();

    // Builds that read the file with Qt's own INI format see the same texts.
    test::TempFolder folder;
    folder.write("written.ini", text.toStdString());
    QSettings qt(QString::fromStdString(folder / "written.ini"), QSettings::IniFormat);
    for (auto entry = map.begin(); entry != map.end(); ++entry)
        EXPECT_EQ(qt.value(entry.key()), entry.value()) << entry.key().toStdString();
}

TEST(IniSettingsFormat, ReadsWhatQtsOwnIniFormatWrote) {
    const QSettings::SettingsMap map = AwkwardSettings();
    test::TempFolder folder;
    {
        QSettings qt(QString::fromStdString(folder / "qt.ini"), QSettings::IniFormat);
        for (auto entry = map.begin(); entry != map.end(); ++entry)
            qt.setValue(entry.key(), entry.value());
    }
    const std::string text = folder.read("qt.ini");
    EXPECT_EQ(Read(QByteArray::fromStdString(text)), map) << text;
}

TEST(IniSettingsFormat, HandEditedAndDamagedTextReadsWhatCanBeRead) {
    struct Case {
        const char *text;
        QSettings::SettingsMap expected;
    };
    const Case cases[] = {
        {"[Quillbarrow]\r\nText1 = red , green \r\n; note\r\n# note\r\nCombo1=7 ; why\r\n",
         {{"Quillbarrow/Text1", QStringList{"red", "green"}}, {"Quillbarrow/Combo1", "7"}}},
        {"[quillbarrow]\nText1=\"a,b\" tail\nText2=\\x41\\101\\q\\x\\x20 \nText3=one\\\n two\n",
         {{"quillbarrow/Text1", "a,btail"},
          {"quillbarrow/Text2", "AA "},
          {"quillbarrow/Text3", "one two"}}},
        {"Top=1\n[general]\nAlso=2\n[%General]\nNamed=3\n[Sec\\Sub]\nk%2x%U00e9=4\n",
         {{"Top", "1"}, {"Also", "2"}, {"General/Named", "3"}, {"Sec/Sub/k%2x\u00e9", "4"}}},
        {"[Quillbarrow\nno value here\n=no key\nText1=\"unterminated\nText2=kept\n",
         {{"Quillbarrow/Text1", "unterminated"}, {"Quillbarrow/Text2", "kept"}}},
        {"[Quillbarrow]\nText1=@@at\nText2=@plain\nText3=@Variant(\\0\\0\\0\\v\\0\\xff\\xff)\n"
         "Text4=a, @ByteArray(x)\nText5=@Rect(1 2 3 4)\nText6=@String(a\\0b)\n",
         {{"Quillbarrow/Text1", "@at"},
          {"Quillbarrow/Text2", "@plain"},
          {"Quillbarrow/Text6", QString::fromLatin1("a\0b", 3)}}},
    };
    for (const Case &test : cases) {
        SCOPED_TRACE(test.text);
        EXPECT_EQ(Read(test.text), test.expected);
    }
}

TEST(IniSettingsFormat, StoredObjectsAreNeverBuiltFromTheFile) {
    // Qt's own reader rebuilds this 70-byte value as a list that declares 927 million texts.
    const QByteArray text =
        "[Quillbarrow]\nO=\"a,b\"\nWindowWidth=@Variant(\\0\\0\\0\\v070x\\\\\\0\\x18)\n";
    EXPECT_EQ(Read(text), (QSettings::SettingsMap{{"Quillbarrow/O", "a,b"}}));
}

} // namespace
} // namespace qb
