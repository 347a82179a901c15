#include "core/name_settings.h"

#include "core/settings_store.h"

#include <climits>

namespace corvelle {

namespace {

struct IntValue {
    std::string_view name;
    int NameSettings::*member;
    int defaultValue;
    int minValue;
    int maxValue;
};

constexpr IntValue kIntValues[] = {
    {kExtensionIndexValue, &NameSettings::extensionIndex, 0, 0, int(kFileTypes.size()) - 1},
    // The dialog checks the serial radio for any value but 0.
    {kNameTypeValue, &NameSettings::nameType, 0, INT_MIN, INT_MAX},
    {kYearIndexValue, &NameSettings::yearIndex, 1, 0, int(kYearChoices.size()) - 1},
    {kMonthIndexValue, &NameSettings::monthIndex, 1, 0, int(kMonthChoices.size()) - 1},
    {kDayIndexValue, &NameSettings::dayIndex, 1, 0, int(kDayChoices.size()) - 1},
    {kFirstIndexValue, &NameSettings::firstIndex, 0, 0, int(kSeparators.size()) - 1},
    {kSecondIndexValue, &NameSettings::secondIndex, 0, 0, int(kSeparators.size()) - 1},
    {kLastIndexValue, &NameSettings::lastIndex, 1, 0, int(kSeparators.size()) - 1},
    {kSerialIndexValue, &NameSettings::serialIndex, 1, 0, kMaxSerialDigits - kMinSerialDigits},
};

struct FlagValue {
    std::string_view name;
    bool NameSettings::*member;
    bool defaultValue;
};

constexpr FlagValue kFlagValues[] = {
    {kUseExifValue, &NameSettings::useExif, true},
    {kModFileDateValue, &NameSettings::modifyFileDate, true},
    {kRenameSidecarsValue, &NameSettings::renameSidecars, true},
};

struct TextValue {
    std::string_view name;
    std::string NameSettings::*member;
};

constexpr TextValue kTextValues[] = {
    {kPrefixValue, &NameSettings::prefix},
    {kPostfixValue, &NameSettings::postfix},
};

}  // namespace

std::string_view SeparatorText(int index) {
    if (index < 0 || index >= int(kSeparators.size())) return {};
    return kSeparators[size_t(index)].text;
}

std::string_view FileTypePattern(int index) {
    if (index < 0 || index >= int(kFileTypes.size())) return kFileTypes[0];
    return kFileTypes[size_t(index)];
}

std::string ExtensionOfPattern(std::string_view pattern) {
    const size_t dot = pattern.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(pattern.substr(dot));
}

NameSettings LoadNameSettings(const SettingsStore& store) {
    NameSettings settings;
    for (const IntValue& value : kIntValues) {
        const int read = store.readInt(kConfigSection, value.name, value.defaultValue);
        settings.*value.member =
            (read < value.minValue || read > value.maxValue) ? value.defaultValue : read;
    }
    for (const FlagValue& value : kFlagValues)
        settings.*value.member = store.readInt(kConfigSection, value.name, value.defaultValue) != 0;
    for (const TextValue& value : kTextValues)
        settings.*value.member = store.readString(kConfigSection, value.name, "");
    return settings;
}

void SaveNameSettings(SettingsStore& store, const NameSettings& settings) {
    for (const IntValue& value : kIntValues)
        store.writeInt(kConfigSection, value.name, settings.*value.member);
    for (const FlagValue& value : kFlagValues)
        store.writeInt(kConfigSection, value.name, settings.*value.member ? 1 : 0);
    for (const TextValue& value : kTextValues)
        store.writeString(kConfigSection, value.name, settings.*value.member);
}

}  // namespace corvelle
