#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "core/name_settings.h"

namespace corvelle {

// One piece of a name: literal text (a "%" in it stands for itself), a strftime code of the
// shooting time, or the serial counter written with at least `digits` digits.
struct NamePart {
    enum class Kind { Literal, TimeCode, Counter };
    Kind kind = Kind::Literal;
    std::string text;
    int digits = 0;

    bool operator==(const NamePart&) const = default;
};

// The recipe of every new name of one run, built once from the settings.
struct NameTemplate {
    std::vector<NamePart> parts;
    bool serialMode = false;

    bool operator==(const NameTemplate&) const = default;
};

// Longest date name kept, in characters; a longer expansion leaves the file without a name.
inline constexpr size_t kMaxDateNameLength = 127;

// Date mode: prefix, year code, separator 1, month code, separator 2, day code, separator 3,
// "%H%M%S", postfix, extension. Serial mode: prefix, counter, postfix, extension. Absent
// fields and empty separators leave no part; separators stay even when the field before
// them is absent. Serial digits outside 2..8 are held to that range.
NameTemplate BuildNameTemplate(const NameSettings& settings);

// The template written for a moment in the user's time zone, as strftime writes its codes;
// empty when the template is not a date template, the time cannot be shown in local time,
// or the name would be longer than maxLength characters.
std::string ExpandForTime(const NameTemplate& nameTemplate, std::time_t when,
                          size_t maxLength = kMaxDateNameLength);

// The template with the counter zero-padded to its digits and never cut; empty when the
// template is not a serial template.
std::string ExpandForCounter(const NameTemplate& nameTemplate, long long counter);

// The example name of the main dialog: the current time in date mode, counter 1 in serial
// mode. Nothing in serial mode when no digits entry is chosen (the sample then stays as it was).
// The sample is shown whole, however long: only the names of a run are held to their limit.
std::optional<std::string> BuildSampleName(const NameSettings& settings, std::time_t now);

}  // namespace corvelle
