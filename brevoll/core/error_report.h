#pragma once

#include <optional>
#include <string>

namespace corvelle {

class SettingsStore;

struct RunSettings;

// The run's own lines of the report: its size rule, its folders as absolute paths, and
// whether it walks sub-folders, its quality and whether it keeps the EXIF data.
std::string DescribeRunForReport(const RunSettings& settings);

// Where the report of an abnormal end goes: "Error.txt" in Brevoll's per-user state folder.
std::string ErrorReportPath();

// When the previous run left its step marker set (in the step record file at recordPath),
// appends the report lines to the file at reportPath (creating it and its folders), clears
// the marker and returns the message for the user, which names the report's full path.
// Nothing happens when no marker is set; when the report cannot be written the marker
// stays, so the report is tried again at the next start.
std::optional<std::string> ReportAbnormalEnd(SettingsStore& store, const std::string& recordPath,
                                             const std::string& reportPath);

}  // namespace corvelle
