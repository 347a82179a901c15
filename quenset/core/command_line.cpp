#include "core/command_line.h"

#include <sys/stat.h>

#include <charconv>
#include <filesystem>
#include <span>
#include <string_view>

#include "core/command_line_usage.h"
#include "core/duplicate_numbering.h"

namespace corvelle {

namespace {

// Value words and the box index each stands for.
struct Choice {
    std::string_view word;
    int index;
};
// The file type box's entries by their extension: "jpg", "tif", ..., "mov".
constexpr auto kTypeChoices = [] {
    std::array<Choice, kFileTypes.size()> choices{};
    for (size_t i = 0; i < kFileTypes.size(); ++i) choices[i] = {kFileTypes[i].substr(2), int(i)};
    return choices;
}();
constexpr Choice kYearWords[] = {{"none", 0}, {"yyyy", 1}, {"yy", 2}};
constexpr Choice kMonthWords[] = {{"none", 0}, {"mm", 1}};
constexpr Choice kDayWords[] = {{"none", 0}, {"dd", 1}};
// "" is no separator; the blank caption of the separator button means the same.
constexpr Choice kSeparatorWords[] = {{"", 0}, {" ", 0}, {"-", 1}, {"_", 2}, {"+", 3}, {";", 4}};

bool Pick(std::span<const Choice> choices, std::string_view word, std::optional<int>& target) {
    for (const Choice& choice : choices) {
        if (SameNameIgnoringCase(choice.word, word)) {
            target = choice.index;
            return true;
        }
    }
    return false;
}

bool PickSerialDigits(std::string_view word, CommandLine& line) {
    int digits = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), digits);
    if (error != std::errc() || end != word.data() + word.size()) return false;
    RangedNumber kept = KeepInRange("--serial", digits, kMinSerialDigits, kMaxSerialDigits);
    if (!kept.warning.empty()) line.warnings.push_back(std::move(kept.warning));
    line.nameType = 1;
    line.serialIndex = kept.value - kMinSerialDigits;
    return true;
}

// How an option acts: a word from its choices, free text, a switch, or the serial digits.
enum class OptionKind { Choice, Text, Switch, SerialDigits };

struct Option {
    std::string_view name;
    OptionKind kind;
    std::span<const Choice> choices = {};
    std::optional<int> CommandLine::*number = nullptr;  // Choice, or a Switch's number
    std::optional<std::string> CommandLine::*text = nullptr;
    std::optional<bool> CommandLine::*flag = nullptr;  // a Switch's flag
    int switchValue = 0;                               // what a Switch sets
};

using K = OptionKind;
using L = CommandLine;
const Option kOptions[] = {
    {"--type", K::Choice, kTypeChoices, &L::extensionIndex},
    {"--prefix", K::Text, {}, nullptr, &L::prefix},
    {"--postfix", K::Text, {}, nullptr, &L::postfix},
    {"--date", K::Switch, {}, &L::nameType, nullptr, nullptr, 0},
    {"--serial", K::SerialDigits},
    {"--year", K::Choice, kYearWords, &L::yearIndex},
    {"--month", K::Choice, kMonthWords, &L::monthIndex},
    {"--day", K::Choice, kDayWords, &L::dayIndex},
    {"--sep1", K::Choice, kSeparatorWords, &L::firstIndex},
    {"--sep2", K::Choice, kSeparatorWords, &L::secondIndex},
    {"--sep3", K::Choice, kSeparatorWords, &L::lastIndex},
    {"--exif", K::Switch, {}, nullptr, nullptr, &L::useExif, 1},
    {"--no-exif", K::Switch, {}, nullptr, nullptr, &L::useExif, 0},
    {"--file-date", K::Switch, {}, nullptr, nullptr, &L::modifyFileDate, 1},
    {"--no-file-date", K::Switch, {}, nullptr, nullptr, &L::modifyFileDate, 0},
    {"--sidecars", K::Switch, {}, nullptr, nullptr, &L::renameSidecars, 1},
    {"--no-sidecars", K::Switch, {}, nullptr, nullptr, &L::renameSidecars, 0},
};

bool TakesValue(const Option& option) { return option.kind != K::Switch; }

bool ApplyOption(const Option& option, std::string_view value, CommandLine& line) {
    switch (option.kind) {
        case K::Choice:
            return Pick(option.choices, value, line.*option.number);
        case K::Text:
            line.*option.text = std::string(value);
            return true;
        case K::Switch:
            if (option.number != nullptr) line.*option.number = option.switchValue;
            if (option.flag != nullptr) line.*option.flag = option.switchValue != 0;
            return true;
        case K::SerialDigits:
            return PickSerialDigits(value, line);
    }
    return false;
}

const Option* FindOption(std::string_view name) {
    for (const Option& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

template <typename T>
void Put(T& target, const std::optional<T>& value) {
    if (value) target = *value;
}

}  // namespace

const char* const kQuensetUsage =
    "Usage: quenset [DIR]\n"
    "       quenset --preview DIR [options]\n"
    "       quenset --rename DIR [options]\n"
    "       quenset --undo DIR\n"
    "       quenset --undo --list DIR\n"
    "       quenset --undo --skip DIR\n"
    "       quenset --help | --version\n"
    "\n"
    "Opens the window with DIR as the folder to rename (a file opens its folder). The other\n"
    "forms work without a display and rename the pictures of DIR after their shooting date or\n"
    "a serial number; each naming option defaults to the stored settings, which are never\n"
    "changed.\n"
    "\n"
    "Options:\n"
    "  --preview DIR                  list every file with its new name, then the summary\n"
    "  --rename DIR                   rename every changeable file and print the outcome\n"
    "                                 (exit status 1 when a file could not be renamed)\n"
    "  --undo DIR                     give the files of the last rename run in DIR their\n"
    "                                 old names and last-write times back; again for the\n"
    "                                 run before it. Only a file that is still the one the\n"
    "                                 run renamed is reverted; one that failed is tried\n"
    "                                 again by the next --undo (an existing file is never\n"
    "                                 replaced; exit status 1 when a file stays)\n"
    "  --undo --list DIR              list the recorded rename runs of DIR, newest first\n"
    "  --undo --skip DIR              give up the files of the last run that cannot be\n"
    "                                 reverted, so that the next --undo reaches the run\n"
    "                                 before it\n"
    "  --type jpg|tif|nef|heic|png|dng|cr2|cr3|arw|orf|rw2|mp4|mov|jpeg|tiff|webp|avif|\n"
    "         heif|hif                file type\n"
    "  --prefix TEXT                  text before the date or number\n"
    "  --postfix TEXT                 text after the date or number\n"
    "  --date                         name after the shooting date\n"
    "  --serial 2..8                  name by serial number of this many digits\n"
    "  --year yyyy|yy|none            year field\n"
    "  --month mm|none                month field\n"
    "  --day dd|none                  day field\n"
    "  --sep1 S, --sep2 S, --sep3 S   separators after year, month, day: \"\", -, _, + or ;\n"
    "  --exif | --no-exif             take the date from the EXIF data (else the file's\n"
    "                                 creation time)\n"
    "  --file-date | --no-file-date   set renamed EXIF-dated files' last-write time to the\n"
    "                                 shooting date (Linux keeps the creation time)\n"
    "  --sidecars | --no-sidecars     rename .xmp, .aae and .thm files of the same name\n"
    "                                 (and IMG_1.jpg.xmp) and the files of the other types\n"
    "                                 of the same name (a raw file beside its JPEG) along\n"
    "                                 with their picture\n";

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine line;
    bool namingOption = false;
    bool onlyNames = false;  // after "--" every argument is a folder
    auto fail = [&line](std::string message) {
        line.error = std::move(message);
        return line;
    };
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string_view argument = arguments[i];
        if (onlyNames || argument.empty() || argument[0] != '-' || argument == "-") {
            if (line.mode != CommandLine::Mode::Window || !line.folder.empty())
                return fail("unexpected argument " + std::string(argument));
            line.folder = std::string(argument);
            continue;
        }
        if (argument == "--") {
            onlyNames = true;
            continue;
        }
        // Answered before the arguments are parsed.
        if (argument == "--help" || argument == "-h") continue;
        if (argument == "--list" || argument == "--skip") {
            (argument == "--list" ? line.listRuns : line.skipRun) = true;
            continue;
        }
        std::string_view name = argument;
        std::optional<std::string_view> value;
        const size_t equals = argument.find('=');
        if (argument.starts_with("--") && equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        const bool isMode = name == "--preview" || name == "--rename" || name == "--undo";
        const Option* option = isMode ? nullptr : FindOption(name);
        if (!isMode && option == nullptr) return fail("unknown option " + std::string(argument));
        const bool takesValue = isMode || TakesValue(*option);
        // "--undo --list DIR", "--undo --skip DIR": the folder follows the switch.
        if (name == "--undo" && !value && i + 1 < arguments.size() &&
            (arguments[i + 1] == "--list" || arguments[i + 1] == "--skip")) {
            (arguments[i + 1] == "--list" ? line.listRuns : line.skipRun) = true;
            ++i;
        }
        if (takesValue && !value) {
            if (i + 1 >= arguments.size()) return fail(std::string(name) + " needs a value");
            value = arguments[++i];
        } else if (!takesValue && value) {
            return fail(std::string(name) + " takes no value");
        }
        if (isMode) {
            if (line.mode != CommandLine::Mode::Window)
                return fail("give only one of --preview, --rename and --undo");
            if (!line.folder.empty())
                return fail("unexpected argument " + line.folder);
            line.mode = name == "--preview"  ? CommandLine::Mode::Preview
                        : name == "--rename" ? CommandLine::Mode::Rename
                                             : CommandLine::Mode::Undo;
            line.folder = std::string(*value);
            if (line.folder.empty()) return fail(std::string(name) + " needs a folder");
        } else if (!ApplyOption(*option, value.value_or(""), line)) {
            return fail("bad value \"" + std::string(value.value_or("")) + "\" for " +
                        std::string(name));
        } else {
            namingOption = true;
        }
    }
    if ((line.listRuns || line.skipRun) && line.mode != CommandLine::Mode::Undo)
        return fail(line.listRuns ? "--list goes with --undo" : "--skip goes with --undo");
    if (line.listRuns && line.skipRun) return fail("give only one of --list and --skip");
    const bool headlessRun =
        line.mode == CommandLine::Mode::Preview || line.mode == CommandLine::Mode::Rename;
    if (namingOption && !headlessRun)
        return fail("naming options go with --preview or --rename; the window keeps its own");
    return line;
}

NameSettings ApplyCommandLine(NameSettings settings, const CommandLine& line) {
    Put(settings.extensionIndex, line.extensionIndex);
    Put(settings.prefix, line.prefix);
    Put(settings.postfix, line.postfix);
    Put(settings.nameType, line.nameType);
    Put(settings.serialIndex, line.serialIndex);
    Put(settings.yearIndex, line.yearIndex);
    Put(settings.monthIndex, line.monthIndex);
    Put(settings.dayIndex, line.dayIndex);
    Put(settings.firstIndex, line.firstIndex);
    Put(settings.secondIndex, line.secondIndex);
    Put(settings.lastIndex, line.lastIndex);
    Put(settings.useExif, line.useExif);
    Put(settings.modifyFileDate, line.modifyFileDate);
    Put(settings.renameSidecars, line.renameSidecars);
    return settings;
}

std::string WindowFolderFor(const std::string& given) {
    struct stat status {};
    if (given.empty() || stat(given.c_str(), &status) != 0 || S_ISDIR(status.st_mode)) return given;
    const std::filesystem::path parent = std::filesystem::path(given).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

}  // namespace corvelle
