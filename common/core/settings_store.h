#pragma once

#include <memory>
#include <string>
#include <string_view>

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
    // The store of `location`, through Qt's settings.
    explicit SettingsStore(SettingsLocation location);
    // The store of `location` read without Qt, for command-line modes that only read: the
    // file is taken when it holds nothing but plain values, as the programs write them
    // (sections and names of letters, digits, "_", "-", "." and %-escapes; values without
    // quotes, escapes, separators or surrounding blanks), so every read gives what Qt's
    // reader would give. nullptr when the file holds anything else or cannot be read; a
    // missing file reads as empty. Writes to such a store are ignored.
    static std::unique_ptr<SettingsStore> OpenPlain(SettingsLocation location);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    int readInt(std::string_view section, std::string_view name, int defaultValue) const;
    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const;
    void writeInt(std::string_view section, std::string_view name, int value);
    void writeString(std::string_view section, std::string_view name, std::string_view value);

    const std::string& filePath() const { return m_filePath; }

    // How a store reaches its file.
    class Backend {
    public:
        virtual ~Backend() = default;
        virtual int readInt(std::string_view section, std::string_view name,
                            int defaultValue) const = 0;
        virtual std::string readString(std::string_view section, std::string_view name,
                                       std::string_view defaultValue) const = 0;
        virtual void writeInt(std::string_view section, std::string_view name, int value) = 0;
        virtual void writeString(std::string_view section, std::string_view name,
                                 std::string_view value) = 0;
    };

private:
    SettingsStore(std::string filePath, std::unique_ptr<Backend> backend);

    std::string m_filePath;
    std::unique_ptr<Backend> m_backend;
};

// $XDG_CONFIG_HOME/<key>/<profile>.conf
std::string SettingsFilePath(SettingsLocation location);

// $XDG_CONFIG_HOME, $XDG_STATE_HOME and $XDG_DATA_HOME with their documented defaults
// under the home folder.
std::string ConfigHomeFolder();
std::string StateHomeFolder();
std::string DataHomeFolder();

}  // namespace corvelle
