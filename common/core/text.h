#pragma once

#include <string>
#include <string_view>

namespace corvelle {

// Text taken from a picture file, made fit for the screen and the clipboard: kept when its
// bytes are valid UTF-8, otherwise each byte becomes the character of the same code
// (Latin-1), so no byte is lost and no invalid sequence reaches the user.
std::string FileTextToUtf8(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// ASCII letters in lower case; every other byte (UTF-8 included) as it is, whatever the locale.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }
std::string AsciiLower(std::string_view text);

// File-name matching as the programs' folder listings do it: '*' matches any run, '?' one
// character, ASCII letters without regard to case, and a '?' at the very end may also
// match nothing (so "*.tif?" lists both .tif and .tiff).
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

}  // namespace corvelle
