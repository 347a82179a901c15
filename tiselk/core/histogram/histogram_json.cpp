#include "core/histogram/histogram_json.h"

#include "core/report/info_output.h"
#include "core/text.h"

namespace corvelle {

namespace {

std::string TableJson(const HistogramTable& table) {
    std::string out = "[";
    for (size_t i = 0; i < table.size(); ++i) {
        if (i) out += ",";
        out += std::to_string(table[i]);
    }
    return out + "]";
}

}  // namespace

std::string FormatHistogramJson(const std::vector<FileHistogram>& files) {
    static constexpr const char* kNames[4] = {"mono", "red", "green", "blue"};
    std::string out = "[";
    for (size_t f = 0; f < files.size(); ++f) {
        const FileHistogram& file = files[f];
        out += f == 0 ? "\n  {\n" : ",\n  {\n";
        out += "    \"path\": " + JsonString(FileTextToUtf8(file.path)) + ",\n";
        out += std::string("    \"decoded\": ") + (file.decoded ? "true" : "false") + ",\n";
        for (int c = 0; c < 4; ++c)
            out += std::string("    \"") + kNames[c] + "\": " + TableJson(file.counts.tables[c]) +
                   ",\n";
        for (int c = 0; c < 4; ++c) {
            out += std::string("    \"") + kNames[c] +
                   "Mean\": " + std::to_string(HistogramMean(file.counts.tables[c]));
            out += c == 3 ? "\n" : ",\n";
        }
        out += "  }";
    }
    out += files.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace corvelle
