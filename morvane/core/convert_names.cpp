// The names and numbers `morvane --convert` reads, kept apart from the conversion itself so
// that the light front, which only checks the command line, links none of the picture code.
#include <charconv>

#include "core/convert_command.h"
#include "core/photo_save.h"
#include "core/text.h"

namespace corvelle {

bool NameEndsWithIgnoringCase(std::string_view path, std::string_view ending) {
    return path.size() >= ending.size() &&
           AsciiLower(path.substr(path.size() - ending.size())) == ending;
}

std::optional<PhotoSaveFormat> PhotoSaveFormatForName(std::string_view path) {
    if (NameEndsWithIgnoringCase(path, ".jpg") || NameEndsWithIgnoringCase(path, ".jpeg")) return PhotoSaveFormat::kJpeg;
    if (NameEndsWithIgnoringCase(path, ".png")) return PhotoSaveFormat::kGray16Png;
    if (NameEndsWithIgnoringCase(path, ".tif") || NameEndsWithIgnoringCase(path, ".tiff")) return PhotoSaveFormat::kGray16Tiff;
    return std::nullopt;
}

ConvertOutputKind ConvertOutputKindFor(std::string_view path) {
    if (NameEndsWithIgnoringCase(path, ".bmp")) return ConvertOutputKind::kBmp;
    const std::optional<PhotoSaveFormat> format = PhotoSaveFormatForName(path);
    if (!format) return ConvertOutputKind::kUnknown;
    switch (*format) {
        case PhotoSaveFormat::kJpeg:
            return ConvertOutputKind::kJpeg;
        case PhotoSaveFormat::kGray16Png:
            return ConvertOutputKind::kGray16Png;
        case PhotoSaveFormat::kGray16Tiff:
            return ConvertOutputKind::kGray16Tiff;
    }
    return ConvertOutputKind::kUnknown;
}

std::optional<int> ParseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    int value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::pair<int, int>> ParseIntegerPair(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::optional<int> first = ParseInteger(text.substr(0, comma));
    const std::optional<int> second = ParseInteger(text.substr(comma + 1));
    if (!first || !second) return std::nullopt;
    return std::pair{*first, *second};
}

}  // namespace corvelle
