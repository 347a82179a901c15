#include "core/command_line.h"

#include <algorithm>
#include <map>
#include <string_view>

#include "core/command_line_usage.h"

namespace corvelle {

const char* const kMorvaneUsage =
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

namespace {

// Every option of the headless mode takes a value; --help is answered before parsing.
constexpr std::string_view kValueOptions[] = {"--convert", "-o",        "--gray",   "--trim",
                                              "--trim-offset", "--quality", "--denoise"};
constexpr std::string_view kKnownOptions[] = {
    "--convert", "-o", "--gray", "--trim", "--trim-offset", "--quality", "--denoise", "-h",
    "--help"};

// "--name=value" names its option before the "=".
std::string_view OptionName(std::string_view argument) {
    return argument.substr(0, argument.find('='));
}

bool IsValueOption(std::string_view name) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), name) !=
           std::end(kValueOptions);
}

// The values given, by option name.
struct GivenValues {
    std::map<std::string_view, std::string> values;
    const std::string* operator[](std::string_view name) const {
        const auto found = values.find(name);
        return found == values.end() ? nullptr : &found->second;
    }
};

// Reads "--name value" and "--name=value"; the first problem as a usage line.
std::string ReadValues(const std::vector<std::string>& arguments, GivenValues& given) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--") {
            if (i + 1 < arguments.size()) return "unexpected argument " + arguments[i + 1];
            break;
        }
        if (argument == "-h" || argument == "--help") continue;
        const std::string_view name = OptionName(argument);
        if (argument.size() < 2 || argument[0] != '-' || !IsValueOption(name))
            return "unexpected argument " + std::string(argument);
        std::string value;
        if (name.size() < argument.size()) {
            value = std::string(argument.substr(name.size() + 1));
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            return std::string(name) + " needs a value";
        }
        if (!given.values.emplace(name, std::move(value)).second)
            return std::string(name) + " given twice";
    }
    return {};
}

int KeptInRange(MorvaneCommandLine& line, const char* option, int value, int min, int max) {
    RangedNumber kept = KeepInRange(option, value, min, max);
    if (!kept.warning.empty()) line.warnings.push_back(std::move(kept.warning));
    return kept.value;
}

// The request from the values read; the first problem as a usage line.
std::string ReadRequest(const GivenValues& given, const std::function<int()>& storedQuality,
                        MorvaneCommandLine& line) {
    ConvertRequest& request = line.request;
    if (!given["--convert"]) return "the options need --convert IN";
    if (!given["-o"]) return "--convert needs -o OUT";
    request.input = *given["--convert"];
    request.output = *given["-o"];
    if (request.input.empty() || request.output.empty()) return "empty file name";
    const ConvertOutputKind kind = ConvertOutputKindFor(request.output);
    if (kind == ConvertOutputKind::kUnknown)
        return "OUT must end in .jpg, .jpeg or .bmp: " + request.output;

    if (const std::string* levels = given["--gray"]) {
        if (*levels == "1786") {
            request.gray = GrayLevels::k1786;
        } else if (*levels == "4336") {
            request.gray = GrayLevels::k4336;
        } else {
            return "--gray takes 1786 or 4336, not " + *levels;
        }
    }
    if (const std::string* trim = given["--trim"]) {
        const auto size = ParseInteger(*trim);
        if (!size) return "--trim takes a print size from 1 to 6";
        request.trimSize = KeptInRange(line, "--trim", *size, 1, int(kTrimSizes.size()) - 1);
    }
    if (const std::string* trimOffset = given["--trim-offset"]) {
        if (!given["--trim"]) return "--trim-offset needs --trim";
        const auto offset = ParseIntegerPair(*trimOffset);
        if (!offset) return "--trim-offset takes DX,DY in pixels";
        request.trimOffset = {offset->first, offset->second};
    }
    if (const std::string* denoise = given["--denoise"]) {
        const auto values = ParseIntegerPair(*denoise);
        if (!values) return "--denoise takes THRESHOLD,REGION";
        using Limits = NoiseFilterSettings;
        const int threshold = KeptInRange(line, "--denoise THRESHOLD", values->first,
                                          Limits::kMinThreshold, Limits::kMaxThreshold);
        const int region = KeptInRange(line, "--denoise REGION", values->second,
                                       Limits::kMinRegionSize, Limits::kMaxRegionSize);
        request.denoise = Limits::limited(threshold, region);
    }
    if (const std::string* quality = given["--quality"]) {
        const auto value = ParseInteger(*quality);
        if (!value) return "--quality takes a number from 1 to 100";
        request.quality = KeptInRange(line, "--quality", *value, 1, 100);
    } else if (kind == ConvertOutputKind::kJpeg) {
        // The window's compress ratio, as the last session left it.
        request.quality = storedQuality();
    }
    return {};
}

}  // namespace

MorvaneCommandLine ParseMorvaneArguments(const std::vector<std::string>& arguments,
                                         const std::function<int()>& storedQuality) {
    MorvaneCommandLine line;
    // Decided before any window exists, so a mistyped option fails the same way with or
    // without a display.
    std::vector<char*> argv{nullptr};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    if (const auto unknown = FirstUnknownOption(int(argv.size()), argv.data(), kKnownOptions)) {
        line.error = "unknown option " + *unknown;
        return line;
    }
    const bool headless = std::any_of(arguments.begin(), arguments.end(), [](const auto& a) {
        const std::string_view name = OptionName(a);
        return IsValueOption(name) || name == "-h" || name == "--help";
    });
    if (!headless) return line;

    line.mode = MorvaneCommandLine::Mode::Convert;
    GivenValues given;
    line.error = ReadValues(arguments, given);
    if (line.error.empty()) line.error = ReadRequest(given, storedQuality, line);
    return line;
}

}  // namespace corvelle
