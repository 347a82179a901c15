#pragma once

#include <string>
#include <vector>

#include "core/histogram/histogram_counts.h"

namespace corvelle {

struct FileHistogram {
    std::string path;
    bool decoded = false;
    HistogramCounts counts;
};

// A JSON array, one object per file: "path", "decoded", the four 256-entry tables "mono",
// "red", "green", "blue" and their means "monoMean", "redMean", "greenMean", "blueMean".
std::string FormatHistogramJson(const std::vector<FileHistogram>& files);

}  // namespace corvelle
