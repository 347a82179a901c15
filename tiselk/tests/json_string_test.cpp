// The JSON text of a report string: every byte that must be escaped is, wherever it falls in
// a run of plain text.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/report/info_output.h"

namespace corvelle {
namespace {

// One byte at a time, as the JSON grammar reads.
std::string EscapedByteByByte(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

TEST(JsonStringTest, EscapesEveryByteThatNeedsItWhereverItFalls) {
    // The bytes beside each boundary of the escaping rule, and UTF-8 bytes, which stay.
    const std::string bytes = {'\0', '\x01', '\t', '\n', '\r', '\x1F', ' ', '!', '"', '#',
                               '[', '\\', ']', '~', '\x7F', '\x80', '\xA0', '\xED', '\xFF'};
    for (const char special : bytes) {
        for (size_t length = 1; length <= 20; ++length) {
            for (size_t at = 0; at < length; ++at) {
                std::string text(length, 'a');
                text[at] = special;
                EXPECT_EQ(JsonString(text), EscapedByteByByte(text))
                    << "byte " << int(static_cast<unsigned char>(special)) << " at " << at
                    << " of " << length;
            }
        }
    }
    const std::string line = "ExposureTime = 1/60 \"초\" \\ C:\\DCIM\r\n";
    EXPECT_EQ(JsonString(line), EscapedByteByByte(line));
    EXPECT_EQ(JsonString(""), "\"\"");
}

}  // namespace
}  // namespace corvelle
