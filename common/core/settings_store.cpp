#include "core/settings_store.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <utility>

#include "core/text.h"

namespace corvelle {

namespace {

// Section and value names as Qt writes them: letters, digits, "_", "-" and "." as they
// are, every other character of the ASCII range as %XX. Anything else is not plain.
std::optional<std::string> plainName(std::string_view raw) {
    std::string name;
    for (size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        if (kept) {
            name += c;
            continue;
        }
        if (c != '%' || raw.size() - i < 3) return std::nullopt;
        int byte = 0;
        const auto [end, error] = std::from_chars(raw.data() + i + 1, raw.data() + i + 3, byte, 16);
        if (error != std::errc() || end != raw.data() + i + 3 || byte < 0x20 || byte > 0x7e ||
            byte == '/' || byte == '\\')
            return std::nullopt;
        name += char(byte);
        i += 2;
    }
    if (name.empty()) return std::nullopt;
    return name;
}

// A value Qt reads back byte for byte: valid UTF-8 without control characters, quotes,
// escapes, list or comment separators, "=", a leading "@" (Qt's type marks) or blanks at
// either end (which Qt drops).
bool isPlainValue(std::string_view value) {
    if (!value.empty() && (value.front() == ' ' || value.back() == ' ' || value.front() == '@'))
        return false;
    for (const char c : value) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '"' || c == '\\' ||
            c == ',' || c == ';' || c == '=')
            return false;
    }
    return IsValidUtf8(value);
}

using PlainValues = std::map<std::pair<std::string, std::string>, std::string, std::less<>>;

// The values of a plain file; nullopt when the file holds anything else.
std::optional<PlainValues> parsePlainFile(std::string_view text) {
    PlainValues values;
    std::optional<std::string> section;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (line.empty()) continue;
        if (line.front() == '[') {
            if (line.size() < 3 || line.back() != ']') return std::nullopt;
            section = plainName(line.substr(1, line.size() - 2));
            // Qt keeps names outside any section in "General"; such files are not plain.
            if (!section || *section == "General" || *section == "general") return std::nullopt;
            continue;
        }
        const size_t equals = line.find('=');
        if (!section || equals == std::string_view::npos) return std::nullopt;
        const std::optional<std::string> name = plainName(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);
        if (!name || !isPlainValue(value)) return std::nullopt;
        if (!values.emplace(std::pair(*section, *name), std::string(value)).second)
            return std::nullopt;  // a name given twice
    }
    return values;
}

class PlainSettingsBackend final : public SettingsStore::Backend {
public:
    explicit PlainSettingsBackend(PlainValues values) : m_values(std::move(values)) {}

    int readInt(std::string_view section, std::string_view name,
                int defaultValue) const override {
        const std::string* value = find(section, name);
        if (value == nullptr || value->empty()) return defaultValue;
        const char* first = value->data() + (value->front() == '+' ? 1 : 0);
        const char* last = value->data() + value->size();
        int number = 0;
        const auto [end, error] = std::from_chars(first, last, number);
        return error == std::errc() && end == last ? number : defaultValue;
    }

    std::string readString(std::string_view section, std::string_view name,
                           std::string_view defaultValue) const override {
        const std::string* value = find(section, name);
        return value != nullptr ? *value : std::string(defaultValue);
    }

    void writeInt(std::string_view, std::string_view, int) override {}
    void writeString(std::string_view, std::string_view, std::string_view) override {}

private:
    const std::string* find(std::string_view section, std::string_view name) const {
        const auto it = m_values.find(std::pair(std::string(section), std::string(name)));
        return it != m_values.end() ? &it->second : nullptr;
    }

    PlainValues m_values;
};

}  // namespace

std::string SettingsFilePath(SettingsLocation location) {
    return ConfigHomeFolder() + "/" + location.registryKey + "/" + location.profileName + ".conf";
}

SettingsStore::SettingsStore(std::string filePath, std::unique_ptr<Backend> backend)
    : m_filePath(std::move(filePath)), m_backend(std::move(backend)) {}

SettingsStore::~SettingsStore() = default;

std::unique_ptr<SettingsStore> SettingsStore::OpenPlain(SettingsLocation location) {
    std::string path = SettingsFilePath(location);
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    std::optional<PlainValues> values;
    if (status.type() == std::filesystem::file_type::not_found) {
        values.emplace();  // nothing stored yet: every read gives its default
    } else {
        // Settings files are small; a large one is not one the programs wrote.
        constexpr std::streamoff kLargest = 1 << 20;
        std::ifstream file(path, std::ios::binary | std::ios::ate);
        const std::streamoff size = file ? std::streamoff(file.tellg()) : -1;
        if (size < 0 || size > kLargest) return nullptr;
        std::string text(size_t(size), '\0');
        file.seekg(0);
        if (!file.read(text.data(), size)) return nullptr;
        values = parsePlainFile(text);
        if (!values) return nullptr;
    }
    return std::unique_ptr<SettingsStore>(new SettingsStore(
        std::move(path), std::make_unique<PlainSettingsBackend>(std::move(*values))));
}

int SettingsStore::readInt(std::string_view section, std::string_view name,
                           int defaultValue) const {
    return m_backend->readInt(section, name, defaultValue);
}

std::string SettingsStore::readString(std::string_view section, std::string_view name,
                                      std::string_view defaultValue) const {
    return m_backend->readString(section, name, defaultValue);
}

void SettingsStore::writeInt(std::string_view section, std::string_view name, int value) {
    m_backend->writeInt(section, name, value);
}

void SettingsStore::writeString(std::string_view section, std::string_view name,
                                std::string_view value) {
    m_backend->writeString(section, name, value);
}

}  // namespace corvelle
