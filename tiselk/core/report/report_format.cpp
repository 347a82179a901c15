#include "core/report/report_format.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "core/text.h"

namespace corvelle {

namespace {

int64_t AsNumber(const ReportArgument& argument) {
    if (const auto* number = std::get_if<int64_t>(&argument)) return *number;
    return 0;
}

void AppendText(std::string& line, const ReportArgument& argument) {
    if (const auto* text = std::get_if<std::string>(&argument)) {
        line += *text;
    } else {
        line += std::to_string(std::get<int64_t>(argument));
    }
}

}  // namespace

// printf's %0*x / %0*X: at least `width` digits, zeros in front.
void AppendReportHex(std::string& line, uint32_t number, int width, bool upper) {
    const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    char text[16];
    char* start = text + sizeof text;
    do {
        *--start = digits[number & 0xF];
        number >>= 4;
    } while (number != 0);
    // Zeros in front up to the width (widths past 15 are cut, as they always were).
    const int zeros = std::min(width, 15) - static_cast<int>(text + sizeof text - start);
    for (int i = 0; i < zeros; ++i) *--start = '0';
    line.append(start, text + sizeof text);
}

void AppendReportInt(std::string& line, int64_t number) {
    char digits[16];
    const auto end =
        std::to_chars(digits, digits + sizeof digits, static_cast<int32_t>(number)).ptr;
    line.append(digits, end);
}

namespace {}  // namespace

std::string FormatReportLine(std::string_view format, std::initializer_list<ReportArgument> args) {
    std::string line;
    auto next = args.begin();
    auto take = [&]() -> const ReportArgument* { return next == args.end() ? nullptr : &*next++; };
    line.reserve(format.size() + 16);
    for (size_t i = 0; i < format.size(); ++i) {
        // The text up to the next conversion in one piece; a '%' at the very end is text.
        const size_t percent = format.find('%', i);
        if (percent == std::string_view::npos || percent + 1 >= format.size()) {
            line.append(format.substr(i));
            break;
        }
        if (percent > i) {
            line.append(format.substr(i, percent - i));
            i = percent;
        }
        // Width digits, then the conversion character.
        size_t j = i + 1;
        bool zeroPad = false;
        int width = 0;
        if (format[j] == '0') {
            zeroPad = true;
            ++j;
        }
        while (j < format.size() && format[j] >= '0' && format[j] <= '9') {
            width = width * 10 + (format[j] - '0');
            ++j;
        }
        if (j >= format.size()) break;
        const char conversion = format[j];
        i = j;
        if (conversion == '%') {
            line += '%';
            continue;
        }
        const ReportArgument* argument = take();
        if (!argument) continue;
        switch (conversion) {
            case 'i':
            case 'd':
                AppendReportInt(line, AsNumber(*argument));
                break;
            case 'x':
            case 'X':
                AppendReportHex(line, static_cast<uint32_t>(AsNumber(*argument)),
                                zeroPad ? width : 0, conversion == 'X');
                break;
            case 's':
                AppendText(line, *argument);
                break;
            case 'c': {
                const auto byte = static_cast<uint8_t>(AsNumber(*argument));
                if (byte != 0) line += FileTextToUtf8(std::string(1, static_cast<char>(byte)));
                break;
            }
            default:
                break;
        }
    }
    return line;
}

}  // namespace corvelle
