// Tiselk's entry point: the main dialog by default; the headless modes print what the
// dialog would show or decode for each file and never create an application object.
#include <QFile>
#include <QString>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "core/command_line.h"
#include "core/command_line_usage.h"
#include "core/decoding/budgeted_decoding.h"
#include "core/decoding/picture_decoding.h"
#include "core/histogram/histogram_json.h"
#include "core/report/file_info.h"
#include "core/report/info_output.h"
#include "ui/tiselk_gui.h"

namespace {

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

void PrintJpegMessage(const std::string& path, const std::string& message) {
    std::fprintf(stderr, "tiselk: %s: %s\n", path.c_str(), message.c_str());
}

// Each file's information is written as soon as it is read, so memory stays flat however
// many files are given.
int RunInfo(bool asJson, const std::vector<std::string>& files) {
    corvelle::InfoJsonWriter json(Write);
    for (size_t i = 0; i < files.size(); ++i) {
        const corvelle::FileInfo info = corvelle::ReadFileInfo(files[i]);
        if (asJson) {
            json.add(info);
        } else {
            if (i > 0) Write(corvelle::kInfoSeparator);
            Write(corvelle::FormatInfoText(info));
        }
    }
    if (asJson) json.finish();
    return 0;
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
    if (const auto answered = corvelle::AnswerHelpOrVersion(argc, argv, "tiselk", "1.4 (build 25)",
                                                            corvelle::kTiselkUsage))
        return *answered;
    const corvelle::TiselkCommandLine command =
        corvelle::ParseTiselkArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!command.error.empty())
        return corvelle::ReportUsageError("tiselk", command.error, corvelle::kTiselkUsage);
    switch (command.mode) {
        case Mode::Info:
        case Mode::Json:
            return RunInfo(command.mode == Mode::Json, command.files);
        case Mode::Histogram:
            return RunHistogram(command.files);
        case Mode::Decode:
            return RunDecode(command.files[0], command.output);
        case Mode::Window:
            break;
    }
    QString path;
    if (!command.files.empty()) {
        path = QString::fromLocal8Bit(command.files[0].c_str());
        if (!QFile::exists(path))
            std::fprintf(stderr, "tiselk: %s: no such file or folder\n", command.files[0].c_str());
    }
    return RunTiselkGui(argc, argv, path);
}
