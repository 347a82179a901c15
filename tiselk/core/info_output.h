#pragma once

#include <string>
#include <vector>

#include "core/file_info.h"

namespace corvelle {

// The panel ("Label: value" lines), a blank line, the clipboard summary, a blank line and
// the report box's text, with "\n" line ends for a terminal.
std::string FormatInfoText(const FileInfo& info);

// The line between two files of the text output.
inline constexpr const char* kInfoSeparator =
    "----------------------------------------------------------------------\n";

// A JSON string literal of UTF-8 text, control characters escaped.
std::string JsonString(const std::string& text);

// One JSON object per file, as an array; every text is UTF-8.
std::string FormatInfoJson(const std::vector<FileInfo>& infos);

}  // namespace corvelle
