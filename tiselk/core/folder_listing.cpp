#include "core/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/picture_types.h"
#include "core/text.h"

namespace corvelle {

namespace {

// The list's own patterns; "*.tif?" lists both .tif and .tiff.
constexpr std::string_view kPatterns[] = {"*.jpg", "*.jpeg", "*.tif?", "*.nef"};

bool LessWithoutCase(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
        });
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
            return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
        });
    return less || (!greater && a < b);
}

}  // namespace

bool IsListedPictureName(std::string_view name) {
    if (std::any_of(std::begin(kPatterns), std::end(kPatterns),
                    [&](std::string_view pattern) { return MatchesFilePattern(name, pattern); }))
        return true;
    // Today's photo and raw files besides; movies hold no picture to show.
    const std::optional<PictureType> type = PictureTypeOfName(name);
    return type && PictureTypeInfoOf(*type).kind != PictureKind::kMovie;
}

std::vector<std::string> ListPictureFiles(const std::string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    if (error) return names;
    for (const fs::directory_entry& entry : it) {
        std::string name = entry.path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code typeError;
        if (!entry.is_regular_file(typeError)) continue;
        if (IsListedPictureName(name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end(), LessWithoutCase);
    return names;
}

}  // namespace corvelle
