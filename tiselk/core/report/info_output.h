#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/report/file_info.h"

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

// The same array written a file at a time, so that a run over thousands of files holds one
// file's information at a time and the first objects come out while the rest are read.
class InfoJsonWriter {
  public:
    explicit InfoJsonWriter(std::function<void(const std::string&)> write)
        : m_write(std::move(write)) {}
    void add(const FileInfo& info);
    // Closes the array; the writer is done then.
    void finish();

  private:
    std::function<void(const std::string&)> m_write;
    std::string m_text;  // reused for each object
    bool m_first = true;
};

}  // namespace corvelle
