#include "core/file_naming.h"

#include <array>
#include <climits>

#include "core/date_lookup.h"

namespace corvelle {

namespace {

bool IsDateBreak(char c) { return c == ':' || c == ' '; }

// The leading digits of a part, held below any calendar field's overflow.
long long LeadingNumber(std::string_view part) {
    long long number = 0;
    for (char c : part) {
        if (c < '0' || c > '9') break;
        number = std::min<long long>(number * 10 + (c - '0'), INT_MAX);
    }
    return number;
}

}  // namespace

std::optional<std::time_t> ParseShootingDate(std::string_view text) {
    std::array<long long, 6> fields{};  // year, month, day, hour, minute, second
    size_t count = 0;
    size_t position = 0;
    while (count < fields.size()) {
        while (position < text.size() && IsDateBreak(text[position])) ++position;
        if (position >= text.size()) break;
        size_t end = position;
        while (end < text.size() && !IsDateBreak(text[end])) ++end;
        fields[count++] = LeadingNumber(text.substr(position, end - position));
        position = end;
    }
    if (fields[0] == 0 && fields[1] == 0 && fields[2] == 0) return std::nullopt;

    std::tm calendar{};
    calendar.tm_year = int(fields[0] - 1900);
    calendar.tm_mon = int(fields[1] - 1);
    calendar.tm_mday = int(fields[2]);
    calendar.tm_hour = int(fields[3]);
    calendar.tm_min = int(fields[4]);
    calendar.tm_sec = int(fields[5]);
    calendar.tm_isdst = -1;
    const std::time_t moment = std::mktime(&calendar);
    // Time values count from 1970; the first second of 1970 is still a moment (its date
    // value 0 only means no file times are changed), and -1 is mktime's failure.
    if (moment < 0) return std::nullopt;
    return moment;
}

FileName NameForFile(int dirFd, const ListedFile& file, size_t position,
                     const NameTemplate& nameTemplate, bool useExif, const FileOpener& open) {
    if (nameTemplate.serialMode)
        return {ExpandForCounter(nameTemplate, static_cast<long long>(position) + 1), 0};
    if (useExif) {
        const std::string text = ShootingDateTextOfFile(dirFd, file.name, open);
        if (!text.empty()) {
            const std::optional<std::time_t> taken = ParseShootingDate(text);
            if (!taken) return {};
            std::string name = ExpandForTime(nameTemplate, *taken);
            if (name.empty()) return {};
            return {std::move(name), *taken};
        }
    }
    if (!file.created) return {};
    return {ExpandForTime(nameTemplate, *file.created), 0};
}

}  // namespace corvelle
