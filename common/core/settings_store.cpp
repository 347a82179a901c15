#include "core/settings_store.h"

#include <QSettings>
#include <QString>

#include <cstdlib>

namespace corvelle {

namespace {

std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* value = std::getenv(variable);
    if (value != nullptr && value[0] == '/') return value;
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/" + fallbackUnderHome;
}

QString keyOf(std::string_view section, std::string_view name) {
    return QString::fromUtf8(section.data(), qsizetype(section.size())) + '/' +
           QString::fromUtf8(name.data(), qsizetype(name.size()));
}

}  // namespace

std::string ConfigHomeFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }
std::string StateHomeFolder() { return xdgFolder("XDG_STATE_HOME", ".local/state"); }
std::string DataHomeFolder() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

SettingsStore::SettingsStore(SettingsLocation location)
    : m_filePath(ConfigHomeFolder() + "/" + location.registryKey + "/" + location.profileName +
                 ".conf"),
      m_settings(std::make_unique<QSettings>(QString::fromStdString(m_filePath),
                                             QSettings::IniFormat)) {}

SettingsStore::~SettingsStore() = default;

int SettingsStore::readInt(std::string_view section, std::string_view name,
                           int defaultValue) const {
    const QVariant value = m_settings->value(keyOf(section, name));
    if (!value.isValid()) return defaultValue;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

std::string SettingsStore::readString(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const {
    const QVariant value = m_settings->value(keyOf(section, name));
    if (!value.isValid()) return std::string(defaultValue);
    return value.toString().toStdString();
}

void SettingsStore::writeInt(std::string_view section, std::string_view name, int value) {
    m_settings->setValue(keyOf(section, name), value);
    m_settings->sync();
}

void SettingsStore::writeString(std::string_view section, std::string_view name,
                                std::string_view value) {
    m_settings->setValue(keyOf(section, name),
                         QString::fromUtf8(value.data(), qsizetype(value.size())));
    m_settings->sync();
}

}  // namespace corvelle
