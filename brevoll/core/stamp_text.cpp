#include "core/stamp_text.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <ctime>

namespace corvelle {

namespace {

constexpr size_t kDateTextLimit = 79;
constexpr size_t kStampTextLimit = 259;

// C atoi on one field: leading white space, optional sign, leading digits, none gives 0.
int fieldNumber(std::string_view field) {
    size_t i = 0;
    while (i < field.size() && std::isspace(static_cast<unsigned char>(field[i]))) ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    long value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = std::min(value * 10 + (field[i] - '0'), 100000000L);
    return int(negative ? -value : value);
}

}  // namespace

std::string FormatStamp(std::string_view dateText, std::string_view pattern) {
    dateText = dateText.substr(0, kDateTextLimit);
    // The date text may hold a NUL before its end; only what comes before it counts.
    dateText = dateText.substr(0, dateText.find('\0'));
    int numbers[6] = {};
    int count = 0;
    size_t pos = 0;
    while (count < 6 && pos < dateText.size()) {
        const size_t start = dateText.find_first_not_of(": ", pos);
        if (start == std::string_view::npos) break;
        const size_t end = dateText.find_first_of(": ", start);
        numbers[count++] = fieldNumber(dateText.substr(start, end - start));
        pos = end == std::string_view::npos ? dateText.size() : end;
    }
    if (numbers[0] == 0 && numbers[1] == 0 && numbers[2] == 0) return {};

    std::tm tm{};
    tm.tm_year = numbers[0] - 1900;
    tm.tm_mon = numbers[1] - 1;
    tm.tm_mday = numbers[2];
    tm.tm_hour = numbers[3];
    tm.tm_min = numbers[4];
    tm.tm_sec = numbers[5];
    tm.tm_isdst = -1;
    const std::time_t t = std::mktime(&tm);
    if (t == std::time_t(-1) || t < 0 || t > std::time_t(INT32_MAX)) return {};

    const std::string format(pattern);
    char text[kStampTextLimit + 1];
    const size_t length = std::strftime(text, sizeof text, format.c_str(), &tm);
    return std::string(text, length);
}

}  // namespace corvelle
