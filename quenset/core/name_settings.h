#pragma once

#include <array>
#include <string>
#include <string_view>

namespace corvelle {

class SettingsStore;

// The naming choices of the main dialog, one registry value each (section "Config").
// Indices are those of the dialog's boxes; the defaults are the values a first start shows.
struct NameSettings {
    int extensionIndex = 0;  // index into kFileTypes: 0 "*.jpg", 1 "*.tif", 2 "*.nef", ...
    std::string prefix;
    std::string postfix;
    int nameType = 0;     // 0 date names, 1 serial-number names
    int yearIndex = 1;    // 0 none, 1 "yyyy", 2 "yy"
    int monthIndex = 1;   // 0 none, 1 "mm"
    int dayIndex = 1;     // 0 none, 1 "dd"
    int firstIndex = 0;   // separator after the year (index into kSeparators)
    int secondIndex = 0;  // separator after the month
    int lastIndex = 1;    // separator after the day, before the time
    int serialIndex = 1;  // serial digits minus 2 (0..6)
    bool useExif = true;
    bool modifyFileDate = true;
    bool renameSidecars = true;  // .xmp, .aae and .thm files of the same stem go along

    bool serialMode() const { return nameType != 0; }
    // Files get their times changed only when both boxes are checked.
    bool fileDateFlag() const { return useExif && modifyFileDate; }
};

// Where each value lives in the settings store, spelled as stored.
inline constexpr std::string_view kConfigSection = "Config";
inline constexpr std::string_view kRecentPathValue = "Recent Path";
inline constexpr std::string_view kExtensionIndexValue = "Use Extention Index";
inline constexpr std::string_view kPrefixValue = "Prefix";
inline constexpr std::string_view kPostfixValue = "Postfix";
inline constexpr std::string_view kNameTypeValue = "Name Type";
inline constexpr std::string_view kYearIndexValue = "Year Index";
inline constexpr std::string_view kMonthIndexValue = "Month Index";
inline constexpr std::string_view kDayIndexValue = "Day Index";
inline constexpr std::string_view kFirstIndexValue = "First Index";
inline constexpr std::string_view kSecondIndexValue = "Second Index";
inline constexpr std::string_view kLastIndexValue = "Last Index";
inline constexpr std::string_view kSerialIndexValue = "Serial Index";
inline constexpr std::string_view kUseExifValue = "Use Exif";
inline constexpr std::string_view kModFileDateValue = "Mod. file date";
inline constexpr std::string_view kRenameSidecarsValue = "Rename Sidecars";

// The separator popup: index, the caption its button shows, the text it puts into names.
struct Separator {
    std::string_view caption;
    std::string_view text;
    std::string_view menuText;
    int commandId;
};
inline constexpr std::array<Separator, 5> kSeparators{{
    {" ", "", "없음", 32775},
    {"-", "-", "-", 32771},
    {"_", "_", "_", 32772},
    {"+", "+", "+", 32773},
    {";", ";", ";", 32774},
}};

// The first three keep their stored indices; phone and camera types follow, then the other
// spellings and the newer picture types, after them so that stored indices keep their type.
inline constexpr std::array<std::string_view, 19> kFileTypes{
    "*.jpg", "*.tif",  "*.nef",  "*.heic", "*.png",  "*.dng",  "*.cr2",
    "*.cr3", "*.arw",  "*.orf",  "*.rw2",  "*.mp4",  "*.mov",  "*.jpeg",
    "*.tiff", "*.webp", "*.avif", "*.heif", "*.hif"};
inline constexpr std::array<std::string_view, 3> kYearChoices{"없음", "yyyy", "yy"};
inline constexpr std::array<std::string_view, 2> kMonthChoices{"없음", "mm"};
inline constexpr std::array<std::string_view, 2> kDayChoices{"없음", "dd"};
inline constexpr int kMinSerialDigits = 2;
inline constexpr int kMaxSerialDigits = 8;

// Separator text for an index; an index outside the table puts nothing in.
std::string_view SeparatorText(int index);
// The file type text ("*.jpg") for an index; an index outside the table gives "*.jpg".
std::string_view FileTypePattern(int index);
// What every new name ends with: the file type text from its last "." (".jpg").
std::string ExtensionOfPattern(std::string_view pattern);

// Reads every naming value, each with its default; values outside their box's range read
// as the default, so a damaged store never yields a pattern the dialog could not show.
NameSettings LoadNameSettings(const SettingsStore& store);
// Writes every naming value (the dialog writes one at a time; this is the whole set).
void SaveNameSettings(SettingsStore& store, const NameSettings& settings);

}  // namespace corvelle
