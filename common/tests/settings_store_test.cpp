#include <gtest/gtest.h>

#include <fstream>

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

}  // namespace
}  // namespace corvelle
