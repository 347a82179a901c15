// tiselk-headless: the modes that decode pictures (--decode, --histogram), started by
// tiselk in its place with its arguments.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/decoding/budgeted_decoding.h"
#include "core/decoding/picture_decoding.h"
#include "core/histogram/histogram_json.h"

namespace {

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void PrintJpegMessage(const std::string& path, const std::string& message) {
    std::fprintf(stderr, "tiselk: %s: %s\n", path.c_str(), message.c_str());
}

// The picture within the process's byte budget, or none with the reason on stderr.
std::optional<corvelle::PackedDib> Decode(const std::string& path) {
    corvelle::BudgetedPicture decoded = corvelle::DecodePictureWithinBudget(
        path, corvelle::DecodeBudget::Process(), corvelle::BudgetUse::kShown,
        [&](const std::string& message) { PrintJpegMessage(path, message); });
    if (!decoded.picture) {
        const std::string reason =
            decoded.problem.empty() ? std::string("cannot be decoded") : decoded.problem;
        std::fprintf(stderr, "tiselk: %s: %s\n", path.c_str(), reason.c_str());
    }
    return std::move(decoded.picture);
}

int RunDecode(const std::string& input, const std::string& output) {
    const auto picture = Decode(input);
    if (!picture) return 1;
    if (!corvelle::WriteBmpFile(output, *picture)) {
        std::fprintf(stderr, "tiselk: %s: cannot be written\n", output.c_str());
        return 1;
    }
    return 0;
}

int RunHistogram(const std::vector<std::string>& files) {
    std::vector<corvelle::FileHistogram> histograms;
    int status = 0;
    for (const std::string& file : files) {
        corvelle::FileHistogram histogram;
        histogram.path = file;
        if (const auto picture = Decode(file)) {
            histogram.decoded = true;
            histogram.counts = corvelle::CountHistogram(&*picture);
        } else {
            status = 1;
        }
        histograms.push_back(std::move(histogram));
    }
    Write(corvelle::FormatHistogramJson(histograms));
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    using Mode = corvelle::TiselkCommandLine::Mode;
    const corvelle::TiselkCommandLine command =
        corvelle::ParseTiselkArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (command.error.empty() && command.mode == Mode::Histogram)
        return RunHistogram(command.files);
    if (command.error.empty() && command.mode == Mode::Decode)
        return RunDecode(command.files[0], command.output);
    return corvelle::ReportUsageError("tiselk", "start tiselk itself", corvelle::kTiselkUsage);
}
