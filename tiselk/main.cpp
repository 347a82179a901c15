// Tiselk's entry point: the main dialog by default; the headless modes print what the
// dialog would show or decode for each file and never create an application object.
#include <QFile>
#include <QString>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "core/command_line_usage.h"
#include "core/file_info.h"
#include "core/histogram_json.h"
#include "core/info_output.h"
#include "core/picture_decoding.h"
#include "ui/tiselk_gui.h"

namespace {

constexpr const char* kUsage =
    "Usage: tiselk [PATH]\n"
    "       tiselk --info FILE...\n"
    "       tiselk --json FILE...\n"
    "       tiselk --decode FILE -o OUT.bmp\n"
    "       tiselk --histogram FILE...\n"
    "       tiselk --help | --version\n"
    "\n"
    "Opens the EXIF browser; PATH (a picture or a folder) is opened as if dropped on it.\n"
    "The other forms work without a display and print what the window would show.\n"
    "\n"
    "Options:\n"
    "  --info FILE...                 the basic information, summary and tag report\n"
    "  --json FILE...                 the same as a JSON array, one object per file\n"
    "  --decode FILE -o OUT.bmp       the picture the window decodes, as a BMP file\n"
    "  --histogram FILE...            the mono, red, green and blue counts and their\n"
    "                                 means as a JSON array, one object per file\n";

constexpr std::string_view kKnownOptions[] = {"--info", "--json", "--decode", "-o",
                                              "--histogram", "--help", "-h"};

void Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

int UsageError(const std::string& reason) {
    return corvelle::ReportUsageError("tiselk", reason, kUsage);
}

void PrintJpegMessage(const std::string& path, const std::string& message) {
    std::fprintf(stderr, "tiselk: %s: %s\n", path.c_str(), message.c_str());
}

// Each file's information is written as soon as it is read, so memory stays flat however
// many files are given.
int RunInfo(std::string_view mode, const std::vector<std::string>& files) {
    corvelle::InfoJsonWriter json(Write);
    for (size_t i = 0; i < files.size(); ++i) {
        const corvelle::FileInfo info = corvelle::ReadFileInfo(files[i]);
        if (mode == "--json") {
            json.add(info);
        } else {
            if (i > 0) Write(corvelle::kInfoSeparator);
            Write(corvelle::FormatInfoText(info));
        }
    }
    if (mode == "--json") json.finish();
    return 0;
}

int RunDecode(const std::string& input, const std::string& output) {
    const auto picture = corvelle::DecodePicture(
        input, [&](const std::string& message) { PrintJpegMessage(input, message); });
    if (!picture) {
        std::fprintf(stderr, "tiselk: %s: cannot be decoded\n", input.c_str());
        return 1;
    }
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
        const auto picture = corvelle::DecodePicture(
            file, [&](const std::string& message) { PrintJpegMessage(file, message); });
        if (picture) {
            histogram.decoded = true;
            histogram.counts = corvelle::CountHistogram(&*picture);
        } else {
            std::fprintf(stderr, "tiselk: %s: cannot be decoded\n", file.c_str());
            status = 1;
        }
        histograms.push_back(std::move(histogram));
    }
    Write(corvelle::FormatHistogramJson(histograms));
    return status;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (const auto answered =
            corvelle::AnswerHelpOrVersion(argc, argv, "tiselk", "1.4 (build 25)", kUsage))
        return *answered;
    if (const auto unknown = corvelle::FirstUnknownOption(argc, argv, kKnownOptions))
        return UsageError("unknown option " + *unknown);

    std::vector<std::string> arguments(argv + 1, argv + argc);
    const std::string mode = arguments.empty() ? std::string() : arguments[0];
    for (size_t i = 1; i < arguments.size(); ++i) {
        // Options only lead; later ones are a mistake, not file names.
        const std::string& argument = arguments[i];
        const bool isOption = argument.size() > 1 && argument[0] == '-';
        if (isOption && !(mode == "--decode" && argument == "-o"))
            return UsageError(argument + " must come first");
    }
    if (mode == "--info" || mode == "--json" || mode == "--histogram") {
        if (arguments.size() < 2) return UsageError(mode + " needs at least one FILE");
        const std::vector<std::string> files(arguments.begin() + 1, arguments.end());
        return mode == "--histogram" ? RunHistogram(files) : RunInfo(mode, files);
    }
    if (mode == "--decode") {
        if (arguments.size() != 4 || arguments[2] != "-o")
            return UsageError("--decode needs FILE -o OUT.bmp");
        return RunDecode(arguments[1], arguments[3]);
    }
    if (mode == "-o") return UsageError("-o belongs to --decode");
    if (arguments.size() > 1) return UsageError("the window opens one PATH at most");
    QString path;
    if (!arguments.empty()) {
        path = QString::fromLocal8Bit(arguments[0].c_str());
        if (!QFile::exists(path))
            std::fprintf(stderr, "tiselk: %s: no such file or folder\n", arguments[0].c_str());
    }
    return RunTiselkGui(argc, argv, path);
}
