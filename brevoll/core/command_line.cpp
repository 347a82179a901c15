#include "core/command_line.h"

#include <charconv>
#include <cstring>
#include <functional>
#include <string_view>

namespace corvelle {

const char* const kBrevollUsage =
    "Usage: brevoll                    opens the main dialog\n"
    "       brevoll --batch [options]\n"
    "Resizes every picture below the source folder into the destination folder.\n"
    "Options left out take the values stored by Brevoll's main window.\n"
    "  --source DIR, --dest DIR        folders (sub-folders are repeated below DIR)\n"
    "  --ratio P | --pixel N | --bound WxH [--fit]\n"
    "                                  percent, longest side, or bounding box\n"
    "  --recursive | --no-recursive    include sub-folders\n"
    "  --quality Q                     JPEG quality 10..100\n"
    "  --exif | --no-exif              keep EXIF, colour profile, XMP, IPTC and comments\n"
    "  --prefix T, --postfix T         added to each file name\n"
    "  --border DIGITS --margin M | --no-border\n"
    "                                  border colour RRGGBB and width 0..50\n"
    "  --stamp none|top-left|top-center|top-right|bottom-left|bottom-center|bottom-right\n"
    "  --stamp-pattern P               strftime pattern of the shooting date\n"
    "  --stamp-font F, --stamp-size N  font family and size in points\n"
    "  --stamp-color DIGITS            colour digits BBGGRR\n"
    "  --semi | --opaque               stamp half transparent or opaque\n"
    "  --interpolation 0..7            Default, LowQuality, HighQuality, Bilinear, Bicubic,\n"
    "                                  NearestNeighbor, HighQualityBilinear, HighQualityBicubic\n"
    "  --overwrite ask|yes-all|skip-all|cancel\n"
    "                                  existing files (default: ask on a terminal, else skip-all)\n"
    "  --max-pixels N                  refuse pictures of more than N pixels\n"
    "                                  (default 268435456, 16384 x 16384)\n"
    "  --jpeg-only                     only files whose name contains \".jpg\";\n"
    "                                  otherwise also .jpeg .heic .heif .avif .png .webp\n"
    "                                  .tif .tiff, each converted to a \".jpg\" JPEG\n"
    "  --all-types                     the other picture types too (the window's default)\n"
    "  -j N                            convert N pictures at a time\n";

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

bool setNumber(int& target, std::string_view text) {
    const auto value = number(text);
    if (value) target = *value;
    return value.has_value();
}

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
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.method = kMethodRatio;
         return setNumber(f.sizeRatio, v);
     }},
    {"--pixel",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.method = kMethodPixel;
         return setNumber(f.fixSize, v);
     }},
    {"--bound",
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.method = kMethodBound;
         const size_t x = v.find_first_of("xX");
         return x != std::string_view::npos && setNumber(f.boundWidth, v.substr(0, x)) &&
                setNumber(f.boundHeight, v.substr(x + 1));
     }},
    {"--quality", [](DialogFields& f, BatchOptions&,
                     std::string_view v) { return setNumber(f.compressRatio, v); }},
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
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         f.useColorBorder = true;
         return setNumber(f.borderMargin, v);
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
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         const auto mode = number(v);
         if (!mode || *mode < 0 || *mode > 7) return false;
         f.interpolationMethod = *mode;
         return true;
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
     [](DialogFields& f, BatchOptions&, std::string_view v) {
         int64_t limit = 0;
         const auto [end, error] = std::from_chars(v.data(), v.data() + v.size(), limit);
         if (error != std::errc() || end != v.data() + v.size() || limit < 1) return false;
         f.maxPixels = limit;
         return true;
     }},
    {"-j",
     [](DialogFields&, BatchOptions& o, std::string_view v) {
         const auto jobs = number(v);
         if (!jobs || *jobs < 1 || *jobs > 64) return false;
         o.jobs = *jobs;
         return true;
     }},
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
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
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
