#pragma once

#include <span>

#include "core/report/report_rows.h"

namespace corvelle {

// The rows of each maker-note layout that has a decoder.
std::span<const ReportRow> NikonFirstNoteRows();   // notes beginning "Nikon\0"
std::span<const ReportRow> NikonSecondNoteRows();  // notes beginning with their entry count
std::span<const ReportRow> OlympusNoteRows();
std::span<const ReportRow> FujifilmNoteRows();

}  // namespace corvelle
