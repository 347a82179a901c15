// Morvane's entry point: the application window by default; `--convert` runs the picture
// core headless, without a display and without creating an application object.

#include <QCommandLineParser>
#include <QStringList>

#include <cstdio>
#include <string>
#include <string_view>

#include "core/command_line_usage.h"
#include "core/convert_command.h"
#include "core/settings_store.h"
#include "ui/morvane_gui.h"

namespace {

using corvelle::ConvertRequest;

constexpr const char* kUsage =
    "Usage: morvane [FILE...]\n"
    "       morvane --convert IN -o OUT [options]\n"
    "       morvane --help | --version\n"
    "\n"
    "Opens each JPEG FILE in its own window. --convert works without a display, in this\n"
    "order: loads the JPEG IN, removes colour noise, makes the gray rendering, crops to the\n"
    "print size's frame and writes OUT (.jpg or .jpeg as JPEG, .bmp as a bitmap).\n"
    "\n"
    "Options:\n"
    "  --convert IN                   the JPEG photo to convert\n"
    "  -o OUT                         the file to write\n"
    "  --gray 1786|4336               the 1786- or 4336-level gray rendering\n"
    "  --trim 1..6                    crop to the frame of print size 3x5, 4x6, 5x7, 8x10,\n"
    "                                 10x12 or 10x14, centred on the picture\n"
    "  --trim-offset DX,DY            move that frame by DX,DY pixels (negative: left, up),\n"
    "                                 kept inside the picture\n"
    "  --quality 1..100               JPEG quality (default: the stored compress ratio)\n"
    "  --denoise 1..255,1..25         colour-noise filter: THRESHOLD,REGION (9 is 3x3)\n";

constexpr std::string_view kHeadlessOptions[] = {
    "--convert", "-o",        "--gray", "--trim", "--trim-offset",
    "--quality", "--denoise", "-h",     "--help"};

bool isHeadless(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        for (std::string_view option : kHeadlessOptions) {
            if (argument == option) return true;
            if (argument.size() > option.size() && argument.starts_with(option) &&
                argument[option.size()] == '=')
                return true;
        }
    }
    return false;
}

int usageError(const std::string& reason) {
    return corvelle::ReportUsageError("morvane", reason, kUsage);
}

int keptInRange(const char* option, int given, int min, int max) {
    const corvelle::RangedNumber kept = corvelle::KeepInRange(option, given, min, max);
    corvelle::ReportWarning("morvane", kept.warning);
    return kept.value;
}

std::string text(const QString& value) { return value.toStdString(); }

int runHeadless(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{"h", "help"});
    const QCommandLineOption convert("convert", "", "IN");
    const QCommandLineOption output("o", "", "OUT");
    const QCommandLineOption gray("gray", "", "LEVELS");
    const QCommandLineOption trim("trim", "", "N");
    const QCommandLineOption trimOffset("trim-offset", "", "DX,DY");
    const QCommandLineOption quality("quality", "", "Q");
    const QCommandLineOption denoise("denoise", "", "THRESHOLD,REGION");
    parser.addOptions({help, convert, output, gray, trim, trimOffset, quality, denoise});
    if (!parser.parse(arguments)) return usageError(text(parser.errorText()));
    if (!parser.positionalArguments().isEmpty())
        return usageError("unexpected argument " + text(parser.positionalArguments().first()));
    if (!parser.isSet(convert)) return usageError("the options need --convert IN");
    if (!parser.isSet(output)) return usageError("--convert needs -o OUT");
    for (const QCommandLineOption* option :
         {&convert, &output, &gray, &trim, &trimOffset, &quality, &denoise}) {
        if (parser.values(*option).size() > 1)
            return usageError("--" + text(option->names().first()) + " given twice");
    }

    ConvertRequest request;
    request.input = text(parser.value(convert));
    request.output = text(parser.value(output));
    if (request.input.empty() || request.output.empty()) return usageError("empty file name");
    const corvelle::ConvertOutputKind kind = corvelle::ConvertOutputKindFor(request.output);
    if (kind == corvelle::ConvertOutputKind::kUnknown)
        return usageError("OUT must end in .jpg, .jpeg or .bmp: " + request.output);

    if (parser.isSet(gray)) {
        const std::string levels = text(parser.value(gray));
        if (levels == "1786") {
            request.gray = corvelle::GrayLevels::k1786;
        } else if (levels == "4336") {
            request.gray = corvelle::GrayLevels::k4336;
        } else {
            return usageError("--gray takes 1786 or 4336, not " + levels);
        }
    }
    if (parser.isSet(trim)) {
        const auto size = corvelle::ParseInteger(text(parser.value(trim)));
        if (!size) return usageError("--trim takes a print size from 1 to 6");
        request.trimSize = keptInRange("--trim", *size, 1, int(corvelle::kTrimSizes.size()) - 1);
    }
    if (parser.isSet(trimOffset)) {
        if (!parser.isSet(trim)) return usageError("--trim-offset needs --trim");
        const auto offset = corvelle::ParseIntegerPair(text(parser.value(trimOffset)));
        if (!offset) return usageError("--trim-offset takes DX,DY in pixels");
        request.trimOffset = {offset->first, offset->second};
    }
    if (parser.isSet(denoise)) {
        const auto values = corvelle::ParseIntegerPair(text(parser.value(denoise)));
        if (!values) return usageError("--denoise takes THRESHOLD,REGION");
        using Limits = corvelle::NoiseFilterSettings;
        request.denoise =
            Limits::limited(keptInRange("--denoise THRESHOLD", values->first, Limits::kMinThreshold,
                                        Limits::kMaxThreshold),
                            keptInRange("--denoise REGION", values->second, Limits::kMinRegionSize,
                                        Limits::kMaxRegionSize));
    }
    if (parser.isSet(quality)) {
        const auto value = corvelle::ParseInteger(text(parser.value(quality)));
        if (!value) return usageError("--quality takes a number from 1 to 100");
        request.quality = keptInRange("--quality", *value, 1, 100);
    } else if (kind == corvelle::ConvertOutputKind::kJpeg) {
        // The window's compress ratio, as the last session left it.
        const corvelle::SettingsStore settings(corvelle::kMorvaneSettings);
        request.quality = settings.readInt("Settings", "Compress ratio", 100);
    }

    const corvelle::ConvertResult result = corvelle::RunConvert(request);
    if (!result.ok) {
        std::fprintf(stderr, "morvane: %s\n", result.error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const auto answered =
            corvelle::AnswerHelpOrVersion(argc, argv, "morvane", "1.1 (build 18)", kUsage))
        return *answered;
    // Decided before any window exists, so a mistyped option fails the same way with or
    // without a display.
    if (const auto unknown = corvelle::FirstUnknownOption(argc, argv, kHeadlessOptions))
        return corvelle::ReportUsageError("morvane", "unknown option " + *unknown, kUsage);
    if (isHeadless(argc, argv)) return runHeadless(argc, argv);
    return RunMorvaneGui(argc, argv);
}
