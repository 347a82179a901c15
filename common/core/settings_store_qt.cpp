// The settings store through Qt's settings: the one place the store touches Qt, in a file
// of its own so that programs reading plain files without Qt do not load it.
#include <QSettings>
#include <QString>

#include "core/settings_store.h"

namespace corvelle {

namespace {

QString keyOf(std::string_view section, std::string_view name) {
    return QString::fromUtf8(section.data(), qsizetype(section.size())) + '/' +
           QString::fromUtf8(name.data(), qsizetype(name.size()));
}

class QtSettingsBackend final : public SettingsStore::Backend {
public:
    explicit QtSettingsBackend(const std::string& filePath)
        : m_settings(QString::fromStdString(filePath), QSettings::IniFormat) {}

    int readInt(std::string_view section, std::string_view name,
                int defaultValue) const override {
        const QVariant value = m_settings.value(keyOf(section, name));
        if (!value.isValid()) return defaultValue;
        bool ok = false;
        const int number = value.toString().trimmed().toInt(&ok);
        return ok ? number : defaultValue;
    }

    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const override {
        const QVariant value = m_settings.value(keyOf(section, name));
        if (!value.isValid()) return std::string(defaultValue);
        return value.toString().toStdString();
    }

    void writeInt(std::string_view section, std::string_view name, int value) override {
        m_settings.setValue(keyOf(section, name), value);
        m_settings.sync();
    }

    void writeString(std::string_view section, std::string_view name,
                     std::string_view value) override {
        m_settings.setValue(keyOf(section, name),
                            QString::fromUtf8(value.data(), qsizetype(value.size())));
        m_settings.sync();
    }

private:
    QSettings m_settings;
};

}  // namespace

SettingsStore::SettingsStore(SettingsLocation location)
    : SettingsStore(SettingsFilePath(location),
                    std::make_unique<QtSettingsBackend>(SettingsFilePath(location))) {}

}  // namespace corvelle
