// The JSON text of a report string: the bytes JSON cannot hold as they are are escaped, at
// the start, middle or end of a run of plain text; UTF-8 stays as it is.
#include <gtest/gtest.h>

#include <string>

#include "core/report/info_output.h"

namespace corvelle {
namespace {

TEST(JsonStringTest, EscapesWhatJsonCannotHoldAndKeepsTheRest) {
    const struct {
        std::string text;
        std::string json;
    } cases[] = {
        {"", R"("")"},
        {"Make = NIKON\r\n", R"("Make = NIKON\r\n")"},
        {"\"quoted\"", R"("\"quoted\"")"},
        {"C:\\DCIM\\", R"("C:\\DCIM\\")"},
        {"tab\there", R"("tab\there")"},
        {std::string("\0\x01\x1F\x7F", 4), R"("\u0000\u0001\u001f\u007f")"},
        {" !#[]~", R"(" !#[]~")"},
        {"모델명 : \xA0\xFF", "\"모델명 : \xA0\xFF\""},
    };
    for (const auto& c : cases) EXPECT_EQ(JsonString(c.text), c.json) << c.json;
}

}  // namespace
}  // namespace corvelle
