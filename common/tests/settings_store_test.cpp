#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/settings_store.h"

namespace corvelle {
namespace {

TEST(SettingsStore, MissingValuesGiveTheCallersDefault) {
    SettingsStore store({"CorvelleTest", "Defaults"});
    EXPECT_EQ(store.readInt("Settings", "Compress ratio", 100), 100);
    EXPECT_EQ(store.readInt("Settings", "Compress ratio", 85), 85);
    EXPECT_EQ(store.readString("Config", "Recent Path", "/home"), "/home");
}

TEST(SettingsStore, WritesAreSeenAtOnceByAnotherStoreAndReachTheDisk) {
    SettingsStore writer({"CorvelleTest", "WriteThrough"});
    writer.writeInt("Settings", "Zoom ratio", 150);
    writer.writeString("Settings", "Current Image", "/photos/p 1.jpg");

    SettingsStore reader({"CorvelleTest", "WriteThrough"});
    EXPECT_EQ(reader.readInt("Settings", "Zoom ratio", 100), 150);
    EXPECT_EQ(reader.readString("Settings", "Current Image", ""), "/photos/p 1.jpg");

    std::ifstream file(writer.filePath());
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("[Settings]"), std::string::npos);
    EXPECT_NE(text.find("150"), std::string::npos);
}

TEST(SettingsStore, NonIntegerReadAsIntegerGivesTheDefault) {
    SettingsStore store({"CorvelleTest", "Kinds"});
    store.writeString("Settings", "Margin", "wide");
    EXPECT_EQ(store.readInt("Settings", "Margin", 7), 7);
    store.writeInt("Settings", "Margin", -3);
    EXPECT_EQ(store.readInt("Settings", "Margin", 7), -3);
    EXPECT_EQ(store.readString("Settings", "Margin", ""), "-3");
}

TEST(SettingsStore, ProgramsLiveInTheirOwnFiles) {
    SettingsStore quenset(kQuensetSettings);
    SettingsStore brevoll(kBrevollSettings);
    EXPECT_EQ(quenset.filePath(), ConfigHomeFolder() + "/Corvelle/Quenset/Quenset.conf");
    EXPECT_EQ(brevoll.filePath(), ConfigHomeFolder() + "/Corvelle/Brevoll.conf");
    brevoll.writeString("Settings", "Source Folder", "/a");
    EXPECT_EQ(quenset.readString("Settings", "Source Folder", "none"), "none");
}

void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Every read of a store opened without Qt gives what Qt's reader gives, for the files the
// programs write and for the names and values a hand-edited file may hold; files it cannot
// read exactly are left to Qt.
TEST(SettingsStore, ReadsPlainFilesWithoutQtAsQtDoes) {
    struct Case {
        const char* text;
        bool plain;
    };
    const Case cases[] = {
        {"", true},
        {"[Config]\nUse%20Extention%20Index=3\nPrefix=IMG_\nSep1=\nSep2=-\n", true},
        {"[Config]\nPrefix=\xec\x82\xac\xec\xa7\x84_%d\nPostfix=a b\n\n[Other%20Section]\nKey=5\n", true},
        {"[Settings]\nRatio=+12\nMargin=wide\nBig=99999999999\nNeg=-7\nZero=007\n", true},
        {"[Settings]\nRecent%20Path=/home/u/My Photos\nName.with-dot_=x\n", true},
        {"[Config]\nPrefix=\"a, b\"\n", false},         // quoted
        {"[Config]\nPrefix=a\\tb\n", false},            // escaped
        {"[Config]\nPrefix=a,b\n", false},                // a list to Qt
        {"[Config]\nPrefix=@@x\n", false},                // Qt's type mark
        {"[Config]\nPrefix= lead\n", false},              // blanks Qt drops
        {"[Config]\nPrefix=a;b\n", false},                // comment
        {"[Config]\r\nPrefix=x\r\n", false},            // carriage returns
        {"Prefix=x\n[Config]\n", false},                  // outside any section
        {"[General]\nPrefix=x\n", false},
        {"[Config]\nPrefix=x\nPrefix=y\n", false},       // given twice
        {"[Config]\nUse Extention Index=3\n", false},     // a name Qt would have escaped
        {"[Config]\nPre%U00e9fix=3\n", false},
        {"[Config]\nPrefix=\xff\n", false},              // not UTF-8
        {"[Config]\n; note\nPrefix=x\n", false},
    };
    const std::pair<const char*, const char*> probes[] = {
        {"Config", "Use Extention Index"}, {"Config", "Prefix"}, {"Config", "Postfix"},
        {"Config", "Sep1"}, {"Config", "Sep2"}, {"Other Section", "Key"},
        {"Settings", "Ratio"}, {"Settings", "Margin"}, {"Settings", "Big"},
        {"Settings", "Neg"}, {"Settings", "Zero"}, {"Settings", "Recent Path"},
        {"Settings", "Name.with-dot_"}, {"Config", "Missing"},
    };
    for (const Case& c : cases) {
        // A file of its own for each case: Qt keeps what it read of a file in memory.
        const std::string profile = "Plain" + std::to_string(&c - cases);
        const SettingsLocation location{"CorvelleTest", profile.c_str()};
        WriteText(SettingsFilePath(location), c.text);
        const auto plain = SettingsStore::OpenPlain(location);
        ASSERT_EQ(plain != nullptr, c.plain) << c.text;
        if (!plain) continue;
        const SettingsStore qt(location);
        for (const auto& [section, name] : probes) {
            EXPECT_EQ(plain->readString(section, name, "<none>"),
                      qt.readString(section, name, "<none>"))
                << c.text << section << "/" << name;
            EXPECT_EQ(plain->readInt(section, name, -99), qt.readInt(section, name, -99))
                << c.text << section << "/" << name;
        }
    }
}

// What the store writes reads back without Qt when it is plain, and is never read back
// differently when it is not.
TEST(SettingsStore, ReadsBackWhatTheStoreWroteOrLeavesItToQt) {
    const SettingsLocation missing{"CorvelleTest", "NothingYet"};
    const auto empty = SettingsStore::OpenPlain(missing);
    ASSERT_NE(empty, nullptr) << "no file yet: every value at its default";
    EXPECT_EQ(empty->readInt("Config", "Serial", 3), 3);

    const std::vector<std::string> plainTexts = {"", "-", "IMG_", "\xec\x82\xac\xec\xa7\x84",
                                                 "50", "%d", "/home/u/My Photos"};
    const SettingsLocation location{"CorvelleTest", "RoundTrip"};
    {
        SettingsStore writer(location);
        for (size_t i = 0; i < plainTexts.size(); ++i)
            writer.writeString("Config", "Text " + std::to_string(i), plainTexts[i]);
        writer.writeInt("Config", "Serial", -4);
    }
    const auto plain = SettingsStore::OpenPlain(location);
    ASSERT_NE(plain, nullptr);
    for (size_t i = 0; i < plainTexts.size(); ++i)
        EXPECT_EQ(plain->readString("Config", "Text " + std::to_string(i), "<none>"), plainTexts[i]);
    EXPECT_EQ(plain->readInt("Config", "Serial", 3), -4);

    const std::vector<std::string> otherTexts = {"a,b", " lead", "@x", "q\"q", "C:\\x",
                                                 "\xec\x82\xac ", "a=b", "a;b"};
    for (size_t i = 0; i < otherTexts.size(); ++i) {
        const std::string profile = "RoundTrip" + std::to_string(i);
        const SettingsLocation one{"CorvelleTest", profile.c_str()};
        SettingsStore(one).writeString("Config", "Prefix", otherTexts[i]);
        if (const auto read = SettingsStore::OpenPlain(one)) {
            EXPECT_EQ(read->readString("Config", "Prefix", "<none>"), otherTexts[i]) << i;
        }
    }
}

}  // namespace
}  // namespace corvelle
