#include "core/report_format.h"

#include <cstdio>
#include <vector>

#include "core/text.h"

namespace corvelle {

namespace {

int64_t AsNumber(const ReportArgument& argument) {
    if (const auto* number = std::get_if<int64_t>(&argument)) return *number;
    return 0;
}

std::string AsText(const ReportArgument& argument) {
    if (const auto* text = std::get_if<std::string>(&argument)) return *text;
    return std::to_string(std::get<int64_t>(argument));
}

std::string Hex(uint32_t number, int width, bool upper) {
    char digits[16];
    std::snprintf(digits, sizeof digits, upper ? "%0*X" : "%0*x", width, number);
    return digits;
}

}  // namespace

std::string FormatReportLine(std::string_view format, std::initializer_list<ReportArgument> args) {
    std::string line;
    auto next = args.begin();
    auto take = [&]() -> const ReportArgument* { return next == args.end() ? nullptr : &*next++; };
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 >= format.size()) {
            line += c;
            continue;
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
                line += std::to_string(static_cast<int32_t>(AsNumber(*argument)));
                break;
            case 'x':
            case 'X':
                line += Hex(static_cast<uint32_t>(AsNumber(*argument)), zeroPad ? width : 0,
                            conversion == 'X');
                break;
            case 's':
                line += AsText(*argument);
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
