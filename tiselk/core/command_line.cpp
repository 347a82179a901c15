#include "core/command_line.h"

#include <string_view>

#include "core/command_line_usage.h"

namespace corvelle {

const char* const kTiselkUsage =
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

namespace {

constexpr std::string_view kKnownOptions[] = {"--info",      "--json", "--decode", "-o",
                                              "--histogram", "--help", "-h"};

struct ModeName {
    std::string_view name;
    TiselkCommandLine::Mode mode;
};
constexpr ModeName kFileModes[] = {{"--info", TiselkCommandLine::Mode::Info},
                                   {"--json", TiselkCommandLine::Mode::Json},
                                   {"--histogram", TiselkCommandLine::Mode::Histogram}};

TiselkCommandLine Failed(std::string reason) {
    TiselkCommandLine failed;
    failed.error = std::move(reason);
    return failed;
}

std::optional<std::string> UnknownOption(const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>("tiselk")};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    return FirstUnknownOption(int(argv.size()), argv.data(), kKnownOptions);
}

}  // namespace

TiselkCommandLine ParseTiselkArguments(const std::vector<std::string>& arguments) {
    if (const auto unknown = UnknownOption(arguments)) return Failed("unknown option " + *unknown);
    const std::string mode = arguments.empty() ? std::string() : arguments[0];
    for (size_t i = 1; i < arguments.size(); ++i) {
        // Options only lead; later ones are a mistake, not file names.
        const std::string& argument = arguments[i];
        const bool isOption = argument.size() > 1 && argument[0] == '-';
        if (isOption && !(mode == "--decode" && argument == "-o"))
            return Failed(argument + " must come first");
    }
    TiselkCommandLine parsed;
    for (const ModeName& fileMode : kFileModes) {
        if (mode != fileMode.name) continue;
        if (arguments.size() < 2) return Failed(mode + " needs at least one FILE");
        parsed.mode = fileMode.mode;
        parsed.files.assign(arguments.begin() + 1, arguments.end());
        return parsed;
    }
    if (mode == "--decode") {
        if (arguments.size() != 4 || arguments[2] != "-o")
            return Failed("--decode needs FILE -o OUT.bmp");
        parsed.mode = TiselkCommandLine::Mode::Decode;
        parsed.files = {arguments[1]};
        parsed.output = arguments[3];
        return parsed;
    }
    if (mode == "-o") return Failed("-o belongs to --decode");
    if (arguments.size() > 1) return Failed("the window opens one PATH at most");
    parsed.files = arguments;
    return parsed;
}

}  // namespace corvelle
