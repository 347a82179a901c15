#include "core/picture_types.h"

#include <algorithm>

#include "core/text.h"

namespace corvelle {

namespace {

using enum PictureType;
using enum PictureKind;
constexpr PictureContainer kJpegBytes = PictureContainer::kJpeg;
constexpr PictureContainer kTiffBytes = PictureContainer::kTiff;
constexpr PictureContainer kPngBytes = PictureContainer::kPng;
constexpr PictureContainer kWebpBytes = PictureContainer::kWebp;
constexpr PictureContainer kIsoMediaBytes = PictureContainer::kIsoMedia;

constexpr PictureTypeInfo kTypes[] = {
    {kJpeg, "JPEG", {".jpg", ".jpeg"}, kPicture, kJpegBytes, "jpegload", false},
    {kTiff, "TIFF", {".tif", ".tiff"}, kPicture, kTiffBytes, "tiffload", false},
    {kPng, "PNG", {".png"}, kPicture, kPngBytes, "pngload", false},
    {kWebp, "WebP", {".webp"}, kPicture, kWebpBytes, "webpload", false},
    // libheif applies the picture's own rotation and mirror while decoding.
    {kHeic, "HEIC", {".heic"}, kPicture, kIsoMediaBytes, "heifload", true},
    {kHeif, "HEIF", {".heif", ".hif"}, kPicture, kIsoMediaBytes, "heifload", true},
    {kAvif, "AVIF", {".avif"}, kPicture, kIsoMediaBytes, "heifload", true},
    {kNef, "NEF", {".nef"}, kRaw, kTiffBytes, {}, false},
    {kDng, "DNG", {".dng"}, kRaw, kTiffBytes, {}, false},
    {kCr2, "CR2", {".cr2"}, kRaw, kTiffBytes, {}, false},
    {kCr3, "CR3", {".cr3"}, kRaw, kIsoMediaBytes, {}, false},
    {kArw, "ARW", {".arw"}, kRaw, kTiffBytes, {}, false},
    {kOrf, "ORF", {".orf"}, kRaw, kTiffBytes, {}, false},
    {kRw2, "RW2", {".rw2"}, kRaw, kTiffBytes, {}, false},
    {kPef, "PEF", {".pef"}, kRaw, kTiffBytes, {}, false},
    {kSrw, "SRW", {".srw"}, kRaw, kTiffBytes, {}, false},
    {kMp4, "MP4", {".mp4"}, kMovie, kIsoMediaBytes, {}, false},
    {kMov, "MOV", {".mov"}, kMovie, kIsoMediaBytes, {}, false},
};

std::optional<PictureType> TypeByEnding(std::string_view lowerName) {
    for (const PictureTypeInfo& info : kTypes)
        for (std::string_view extension : info.extensions)
            if (!extension.empty() && lowerName.size() > extension.size() &&
                lowerName.ends_with(extension))
                return info.type;
    return std::nullopt;
}

bool IsChunkContainer(PictureContainer container) {
    return container == kPngBytes || container == kWebpBytes || container == kIsoMediaBytes;
}

}  // namespace

std::span<const PictureTypeInfo> PictureTypes() { return kTypes; }

const PictureTypeInfo& PictureTypeInfoOf(PictureType type) {
    return *std::find_if(std::begin(kTypes), std::end(kTypes),
                         [type](const PictureTypeInfo& info) { return info.type == type; });
}

std::string_view FileNameOfPath(std::string_view path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::optional<PictureType> PictureTypeOfName(std::string_view fileName, PictureNameRule rule) {
    const std::string name = AsciiLower(FileNameOfPath(fileName));
    if (rule == PictureNameRule::kJpgOrJpegAnywhere &&
        (name.find(".jpg") != std::string::npos || name.find(".jpeg") != std::string::npos))
        return kJpeg;
    return TypeByEnding(name);
}

bool BytesFitPictureType(const ByteSource& file, PictureType type) {
    return SniffPictureContainer(file) == PictureTypeInfoOf(type).container;
}

std::optional<PictureType> PictureTypeOfLoader(std::string_view loader) {
    for (const PictureTypeInfo& info : kTypes) {
        const std::string_view own = info.loader;
        if (own.empty() || !loader.starts_with(own)) continue;
        if (loader.size() == own.size() || loader[own.size()] == '_') return info.type;
    }
    return std::nullopt;
}

PictureContainer ContainerToRead(std::optional<PictureType> byName, PictureContainer sniffed) {
    if (IsChunkContainer(sniffed)) return sniffed;
    if (byName == kJpeg) return kJpegBytes;
    if (byName && sniffed == kJpegBytes && IsChunkContainer(PictureTypeInfoOf(*byName).container))
        return kJpegBytes;
    return kTiffBytes;
}

}  // namespace corvelle
