#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace corvelle {

using ReportArgument = std::variant<int64_t, std::string>;

// Fills a report format with its arguments, printf-like but growing as needed: %i (signed
// 32-bit), %x, %04x, %08x, %08X (the 32-bit number in hexadecimal), %s (a text, already
// UTF-8), %c (one byte of the file: a zero byte writes nothing so the line stays whole,
// bytes above 0x7F become their Latin-1 character), %%. Missing arguments print nothing.
std::string FormatReportLine(std::string_view format, std::initializer_list<ReportArgument> args);

// The pieces FormatReportLine writes, for lines built without a format: %i (the number's low
// 32 bits, signed) and %0<width>x / %0<width>X.
void AppendReportInt(std::string& line, int64_t number);
void AppendReportHex(std::string& line, uint32_t number, int width, bool upper);

}  // namespace corvelle
