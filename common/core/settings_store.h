#pragma once

#include <memory>
#include <string>
#include <string_view>

class QSettings;

namespace corvelle {

// Where a program keeps its values: the registry key set at start-up and the program's
// profile name. The file is $XDG_CONFIG_HOME/<key>/<profile>.conf, one INI group a section.
struct SettingsLocation {
    const char* registryKey;
    const char* profileName;
};

// Morvane's profile name is the title of its first release, and stays so whatever the version:
// a new one must find the values its users stored.
inline constexpr SettingsLocation kMorvaneSettings{"Corvelle", "Morvane Ver 1.1(build 18)"};
inline constexpr SettingsLocation kTiselkSettings{"Corvelle", "Tiselk"};
inline constexpr SettingsLocation kBrevollSettings{"Corvelle", "Brevoll"};
inline constexpr SettingsLocation kQuensetSettings{"Corvelle/Quenset", "Quenset"};

// Per-user integer and string values addressed by section and value name. A read gives
// the caller's default when the value is missing (or, for integers, not an integer); a
// write reaches the disk before it returns, so a value written just before a crash is
// found at the next start. Write failures are not reported, as no caller could act on them.
class SettingsStore {
public:
    explicit SettingsStore(SettingsLocation location);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    int readInt(std::string_view section, std::string_view name, int defaultValue) const;
    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const;
    void writeInt(std::string_view section, std::string_view name, int value);
    void writeString(std::string_view section, std::string_view name, std::string_view value);

    const std::string& filePath() const { return m_filePath; }

private:
    std::string m_filePath;
    std::unique_ptr<QSettings> m_settings;
};

// $XDG_CONFIG_HOME, $XDG_STATE_HOME and $XDG_DATA_HOME with their documented defaults
// under the home folder.
std::string ConfigHomeFolder();
std::string StateHomeFolder();
std::string DataHomeFolder();

}  // namespace corvelle
