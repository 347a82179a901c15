#include "core/command_line.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <string_view>

#include "core/command_line_usage.h"

namespace corvelle {

const char* const kBrevollUsage =
    "Usage: brevoll\n"
    "       brevoll --batch [options]\n"
    "       brevoll --help | --version\n"
    "\n"
    "Opens the main dialog. --batch resizes every JPEG picture below the source folder into\n"
    "the destination folder without a window; options left out take the values stored by\n"
    "Brevoll's main window.\n"
    "\n"
    "Options:\n"
    "  --batch                        run headless\n"
    "  --source DIR, --dest DIR       folders (sub-folders are repeated below DIR)\n"
    "  --ratio 1..100                 resize to this percentage\n"
    "  --pixel 10..10000              resize the longest side to this many pixels\n"
    "  --bound 10..10000x10..10000    resize into this bounding box (WxH) ...\n"
    "  --fit                          ... filling it exactly\n"
    "  --recursive | --no-recursive   include sub-folders\n"
    "  --quality 10..100              JPEG quality\n"
    "  --exif | --no-exif             keep EXIF, colour profile, XMP, IPTC and comments\n"
    "  --prefix T, --postfix T        added to each file name\n"
    "  --border RRGGBB                a border of this colour ...\n"
    "  --margin 0..50                 ... this many pixels wide\n"
    "  --no-border                    no border\n"
    "  --stamp none|top-left|top-center|top-right|bottom-left|bottom-center|bottom-right\n"
    "                                 where to stamp the shooting date\n"
    "  --stamp-pattern P              strftime pattern of the shooting date\n"
    "  --stamp-font F                 font family of the stamp\n"
    "  --stamp-size N                 font size of the stamp in points\n"
    "  --stamp-color BBGGRR           colour digits of the stamp\n"
    "  --semi | --opaque              stamp half transparent or opaque\n"
    "  --interpolation 0..7           Default, LowQuality, HighQuality, Bilinear, Bicubic,\n"
    "                                 NearestNeighbor, HighQualityBilinear, HighQualityBicubic\n"
    "  --overwrite ask|yes-all|skip-all|cancel\n"
    "                                 existing files (default: ask on a terminal, else skip-all)\n"
    "  --max-pixels 1..               refuse pictures of more than this many pixels\n"
    "                                 (default 268435456, 16384 x 16384)\n"
    "  --jpeg-only                    only files whose name contains \".jpg\"\n"
    "  --all-types                    also .jpeg .heic .heif .avif .png .webp .tif .tiff,\n"
    "                                 each converted to a \".jpg\" JPEG (the window's default)\n"
    "  --max-memory 64..1048576       MiB the pictures under way may take together;\n"
    "                                 larger pictures wait for room (default 1024)\n"
    "  -j 1..64                       convert this many pictures at a time\n";

namespace {

constexpr std::string_view kStampNames[] = {
    "none", "top-left", "top-center", "top-right", "bottom-left", "bottom-center", "bottom-right"};

struct OverwriteName {
    std::string_view name;
    OverwriteMode mode;
};
constexpr OverwriteName kOverwriteNames[] = {{"ask", OverwriteMode::Ask},
                                             {"yes-all", OverwriteMode::YesAll},
                                             {"skip-all", OverwriteMode::SkipAll},
                                             {"cancel", OverwriteMode::Cancel}};

std::optional<int> number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

using Setter = std::function<bool(DialogFields&, BatchOptions&, std::string_view)>;
struct ValueOption {
    std::string_view name;
    Setter set;
};
struct FlagOption {
    std::string_view name;
    std::function<void(DialogFields&)> set;
};

// Reads a number for `option` and keeps it to the range, noting a warning when it was not.
bool setRanged(int& target, std::string_view text, std::string_view option, NumberRange range,
               BatchOptions& options) {
    const auto value = number(text);
    if (!value) return false;
    RangedNumber kept = KeepInRange(option, *value, range.min, range.max);
    target = kept.value;
    if (!kept.warning.empty()) options.warnings.push_back(std::move(kept.warning));
    return true;
}

constexpr NumberRange kInterpolationRange{0, 7};  // the Sampling Method list
constexpr NumberRange kJobsRange{1, 64};

const ValueOption kValueOptions[] = {
    {"--source",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.sourcePath = v;
         return true;
     }},
    {"--dest",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.destPath = v;
         return true;
     }},
    {"--ratio",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         f.method = kMethodRatio;
         return setRanged(f.sizeRatio, v, "--ratio", kRatioRange, o);
     }},
    {"--pixel",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         f.method = kMethodPixel;
         return setRanged(f.fixSize, v, "--pixel", kPixelRange, o);
     }},
    {"--bound",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         f.method = kMethodBound;
         const size_t x = v.find_first_of("xX");
         return x != std::string_view::npos &&
                setRanged(f.boundWidth, v.substr(0, x), "--bound width", kPixelRange, o) &&
                setRanged(f.boundHeight, v.substr(x + 1), "--bound height", kPixelRange, o);
     }},
    {"--quality",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         return setRanged(f.compressRatio, v, "--quality", kQualityRange, o);
     }},
    {"--prefix",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.naming = true;
         f.prefix = v;
         return true;
     }},
    {"--postfix",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.naming = true;
         f.postfix = v;
         return true;
     }},
    {"--border",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.useColorBorder = true;
         f.borderColorText = v;
         return true;
     }},
    {"--margin",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         f.useColorBorder = true;
         return setRanged(f.borderMargin, v, "--margin", kMarginRange, o);
     }},
    {"--stamp",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         for (int i = 0; i < int(std::size(kStampNames)); ++i)
             if (kStampNames[i] == v) {
                 f.stampPos = i;
                 return true;
             }
         return false;
     }},
    {"--stamp-pattern",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.stampMethod = v;
         return true;
     }},
    {"--stamp-font",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.stampFont = v;
         return true;
     }},
    {"--stamp-size",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.stampFontSizeText = v;
         return number(v).has_value();
     }},
    {"--stamp-color",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.stampColorText = v;
         return true;
     }},
    {"--interpolation",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         return setRanged(f.interpolationMethod, v, "--interpolation", kInterpolationRange, o);
     }},
    {"--overwrite",
     [](DialogFields&, BatchOptions& o, std::string_view v) {
         for (const auto& entry : kOverwriteNames)
             if (entry.name == v) {
                 o.overwrite = entry.mode;
                 return true;
             }
         return false;
     }},
    {"--max-pixels",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         int64_t limit = 0;
         const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), limit);
         if (error != std::errc() || end != v.data() + v.size()) return false;
         if (limit < 1) {
             o.warnings.push_back("--max-pixels " + std::string(v) + " is outside 1..; 1 is used");
             limit = 1;
         }
         f.maxPixels = limit;
         return true;
     }},
    {"--max-memory",
     [](DialogFields& f, BatchOptions& o, std::string_view v) {
         return setRanged(f.maxMemoryMb, v, "--max-memory", kMemoryRange, o);
     }},
    {"-j", [](DialogFields&, BatchOptions& o,
              std::string_view v) { return setRanged(o.jobs, v, "-j", kJobsRange, o); }},
};

const FlagOption kFlagOptions[] = {
    {"--fit", [](DialogFields& f) { f.fitBound = true; }},
    {"--recursive", [](DialogFields& f) { f.recursive = true; }},
    {"--no-recursive", [](DialogFields& f) { f.recursive = false; }},
    {"--exif", [](DialogFields& f) { f.exifInfo = true; }},
    {"--no-exif", [](DialogFields& f) { f.exifInfo = false; }},
    {"--no-border", [](DialogFields& f) { f.useColorBorder = false; }},
    {"--semi", [](DialogFields& f) { f.stampEmboss = true; }},
    {"--opaque", [](DialogFields& f) { f.stampEmboss = false; }},
    {"--jpeg-only", [](DialogFields& f) { f.allPictureTypes = false; }},
    {"--all-types", [](DialogFields& f) { f.allPictureTypes = true; }},
};

}  // namespace

ParsedCommandLine ParseBrevollArguments(const std::vector<std::string>& args,
                                        const DialogFields& storedFields) {
    ParsedCommandLine parsed;
    parsed.options.fields = storedFields;
    for (size_t i = 0; i < args.size() && parsed.error.empty(); ++i) {
        std::string_view arg = args[i];
        std::string_view inlineValue;
        bool hasInlineValue = false;
        if (arg.starts_with("--") && arg.find('=') != std::string_view::npos) {
            inlineValue = arg.substr(arg.find('=') + 1);
            arg = arg.substr(0, arg.find('='));
            hasInlineValue = true;
        } else if (arg.starts_with("-j") && arg.size() > 2) {
            inlineValue = arg.substr(2);
            arg = "-j";
            hasInlineValue = true;
        }
        if (arg == "--batch") {
            parsed.batch = true;
            continue;
        }
        // Answered before the arguments are parsed.
        if (arg == "--help" || arg == "-h") continue;
        bool known = false;
        for (const auto& flag : kFlagOptions) {
            if (flag.name != arg || hasInlineValue) continue;
            flag.set(parsed.options.fields);
            known = true;
        }
        for (const auto& option : kValueOptions) {
            if (option.name != arg) continue;
            known = true;
            std::string_view value = inlineValue;
            if (!hasInlineValue) {
                if (i + 1 >= args.size()) {
                    parsed.error = "missing value after " + std::string(arg);
                    break;
                }
                value = args[++i];
            }
            if (!option.set(parsed.options.fields, parsed.options, value))
                parsed.error = "bad value for " + std::string(arg) + ": " + std::string(value);
        }
        if (!known && parsed.error.empty()) parsed.error = "unknown option " + std::string(arg);
    }
    return parsed;
}

}  // namespace corvelle
