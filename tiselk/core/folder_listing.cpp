#include "core/folder_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/text.h"

namespace corvelle {

namespace {

constexpr std::string_view kPatterns[] = {"*.jpg",  "*.jpeg", "*.tif?", "*.nef", "*.heic", "*.heif",
                                          "*.avif", "*.png",  "*.webp", "*.dng", "*.cr2",  "*.cr3",
                                          "*.arw",  "*.orf",  "*.rw2",  "*.pef", "*.srw"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool LessWithoutCase(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
        });
    const bool greater =
        std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), [](char x, char y) {
            return static_cast<unsigned char>(Lower(x)) < static_cast<unsigned char>(Lower(y));
        });
    return less || (!greater && a < b);
}

}  // namespace

bool IsListedPictureName(std::string_view name) {
    return std::any_of(std::begin(kPatterns), std::end(kPatterns),
                       [&](std::string_view pattern) { return MatchesFilePattern(name, pattern); });
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
