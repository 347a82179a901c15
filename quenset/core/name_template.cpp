#include "core/name_template.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace corvelle {

namespace {

void AddLiteral(NameTemplate& nameTemplate, std::string_view text) {
    if (text.empty()) return;
    nameTemplate.parts.push_back({NamePart::Kind::Literal, std::string(text), 0});
}

void AddTimeCode(NameTemplate& nameTemplate, std::string_view code) {
    nameTemplate.parts.push_back({NamePart::Kind::TimeCode, std::string(code), 0});
}

// strftime codes of the date fields, by box index (index 0 is "없음").
constexpr std::string_view kYearCodes[] = {"", "%Y", "%y"};
constexpr std::string_view kMonthCodes[] = {"", "%m"};
constexpr std::string_view kDayCodes[] = {"", "%d"};

template <size_t N>
std::string_view CodeAt(const std::string_view (&codes)[N], int index) {
    return (index < 0 || size_t(index) >= N) ? std::string_view() : codes[index];
}

// Characters, not bytes: a Korean syllable is one character in three UTF-8 bytes.
size_t CharacterCount(std::string_view utf8) {
    return size_t(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool SerialDigitsChosen(const NameSettings& settings) {
    return settings.serialIndex >= 0 && settings.serialIndex <= kMaxSerialDigits - kMinSerialDigits;
}

}  // namespace

NameTemplate BuildNameTemplate(const NameSettings& settings) {
    NameTemplate nameTemplate;
    nameTemplate.serialMode = settings.serialMode();
    AddLiteral(nameTemplate, settings.prefix);
    if (nameTemplate.serialMode) {
        const int digits =
            std::clamp(settings.serialIndex + kMinSerialDigits, kMinSerialDigits, kMaxSerialDigits);
        nameTemplate.parts.push_back({NamePart::Kind::Counter, {}, digits});
    } else {
        const std::string_view fields[] = {CodeAt(kYearCodes, settings.yearIndex),
                                           CodeAt(kMonthCodes, settings.monthIndex),
                                           CodeAt(kDayCodes, settings.dayIndex)};
        const int separators[] = {settings.firstIndex, settings.secondIndex, settings.lastIndex};
        for (size_t i = 0; i < 3; ++i) {
            if (!fields[i].empty()) AddTimeCode(nameTemplate, fields[i]);
            AddLiteral(nameTemplate, SeparatorText(separators[i]));
        }
        AddTimeCode(nameTemplate, "%H%M%S");
    }
    AddLiteral(nameTemplate, settings.postfix);
    AddLiteral(nameTemplate, ExtensionOfPattern(FileTypePattern(settings.extensionIndex)));
    return nameTemplate;
}

std::string ExpandForTime(const NameTemplate& nameTemplate, std::time_t when, size_t maxLength) {
    if (nameTemplate.serialMode) return {};
    std::tm local{};
    if (localtime_r(&when, &local) == nullptr) return {};
    std::string name;
    for (const NamePart& part : nameTemplate.parts) {
        if (part.kind == NamePart::Kind::Literal) {
            name += part.text;
        } else if (part.kind == NamePart::Kind::TimeCode) {
            // Every code we build writes at most a year's digits per field.
            char field[64];
            const size_t length = std::strftime(field, sizeof field, part.text.c_str(), &local);
            if (length == 0) return {};
            name.append(field, length);
        }
        if (CharacterCount(name) > maxLength) return {};
    }
    return name;
}

std::string ExpandForCounter(const NameTemplate& nameTemplate, long long counter) {
    if (!nameTemplate.serialMode) return {};
    std::string name;
    for (const NamePart& part : nameTemplate.parts) {
        if (part.kind == NamePart::Kind::Literal) {
            name += part.text;
        } else if (part.kind == NamePart::Kind::Counter) {
            char digits[32];
            const int length = std::snprintf(digits, sizeof digits, "%0*lld", part.digits, counter);
            if (length > 0) name.append(digits, std::min(size_t(length), sizeof digits - 1));
        }
    }
    return name;
}

std::optional<std::string> BuildSampleName(const NameSettings& settings, std::time_t now) {
    if (settings.serialMode() && !SerialDigitsChosen(settings)) return std::nullopt;
    const NameTemplate nameTemplate = BuildNameTemplate(settings);
    return nameTemplate.serialMode ? ExpandForCounter(nameTemplate, 1)
                                   : ExpandForTime(nameTemplate, now, SIZE_MAX);
}

}  // namespace corvelle
