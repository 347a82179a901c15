#include "core/run_settings.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>

#include "core/settings_names.h"
#include "core/settings_store.h"

namespace corvelle {

namespace names = brevoll_settings;

namespace {

constexpr int kStampPositionCount = 7;
constexpr int kInterpolationModeCount = 8;

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

uint32_t ParseColorText(std::string_view text) {
    uint32_t value = 0;
    for (char c : text.substr(0, 6)) {
        const int digit = hexDigitValue(char(std::toupper(static_cast<unsigned char>(c))));
        if (digit >= 0) value = value * 16 + uint32_t(digit);
    }
    return value;
}

int ReadNumberText(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<long long>(value * 10 + (text[i] - '0'), 1LL << 32);
    if (negative) value = -value;
    return int(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

DialogFields ReadDialogFields(const SettingsStore& store) {
    const std::string_view s = kBrevollSection;
    DialogFields f;
    f.method = store.readInt(s, names::kMethod, names::kDefaultMethod);
    f.sizeRatio = store.readInt(s, names::kSizeRatio, names::kDefaultSizeRatio);
    f.fixSize = store.readInt(s, names::kFixSize, names::kDefaultFixSize);
    f.boundWidth = store.readInt(s, names::kBoundWidth, names::kDefaultBoundWidth);
    f.boundHeight = store.readInt(s, names::kBoundHeight, names::kDefaultBoundHeight);
    f.fitBound = store.readInt(s, names::kFitBound, names::kDefaultFitBound) != 0;
    f.recursive = store.readInt(s, names::kRecursive, names::kDefaultRecursive) != 0;
    f.compressRatio = store.readInt(s, names::kCompressRatio, names::kDefaultCompressRatio);
    f.exifInfo = store.readInt(s, names::kExifInfo, names::kDefaultExifInfo) != 0;
    f.sourcePath = store.readString(s, names::kSourcePath, "");
    f.destPath = store.readString(s, names::kDestPath, "");
    f.naming = store.readInt(s, names::kNaming, names::kDefaultNaming) != 0;
    f.prefix = store.readString(s, names::kPrefix, "");
    f.postfix = store.readString(s, names::kPostfix, "");
    f.useColorBorder = store.readInt(s, names::kUseColorBorder, names::kDefaultUseColorBorder);
    char color[16];
    std::snprintf(color, sizeof color, "%06X",
                  unsigned(store.readInt(s, names::kBorderColor, names::kDefaultBorderColor)));
    f.borderColorText = color;
    f.borderMargin = store.readInt(s, names::kBorderMargin, names::kDefaultBorderMargin);
    f.stampPos = store.readInt(s, names::kStampPos, names::kDefaultStampPos);
    f.stampMethod = store.readString(s, names::kStampMethod, names::kDefaultStampMethod);
    f.stampColorText = store.readString(s, names::kStampColor, names::kDefaultStampColor);
    f.stampEmboss = store.readInt(s, names::kStampEmboss, names::kDefaultStampEmboss) != 0;
    f.stampFont = store.readString(s, names::kStampFont, names::kDefaultStampFont);
    f.stampFontSizeText = store.readString(s, names::kStampFontSize, names::kDefaultStampFontSize);
    f.interpolationMethod =
        store.readInt(s, names::kInterpolationMethod, names::kRunDefaultInterpolation);
    f.allPictureTypes =
        store.readInt(s, names::kAllPictureTypes, names::kDefaultAllPictureTypes) != 0;
    // The store holds 32-bit numbers; a limit of 0 or below means the default.
    const int maxPixels = store.readInt(s, names::kMaxPixels, 0);
    f.maxPixels = maxPixels > 0 ? maxPixels : kDefaultMaxPixels;
    f.maxMemoryMb =
        Clamped(store.readInt(s, names::kMaxMemoryMb, kDefaultMaxMemoryMb), kMemoryRange);
    return f;
}

void WriteDialogFields(SettingsStore& store, const DialogFields& f, bool fontSelected) {
    const std::string_view s = kBrevollSection;
    store.writeInt(s, names::kMethod, f.method);
    store.writeInt(s, names::kSizeRatio, Clamped(f.sizeRatio, kRatioRange));
    store.writeInt(s, names::kFixSize, Clamped(f.fixSize, kPixelRange));
    store.writeInt(s, names::kBoundWidth, Clamped(f.boundWidth, kPixelRange));
    store.writeInt(s, names::kBoundHeight, Clamped(f.boundHeight, kPixelRange));
    store.writeInt(s, names::kFitBound, f.fitBound ? 1 : 0);
    store.writeInt(s, names::kRecursive, f.recursive ? 1 : 0);
    // Read as unsigned numbers: a sign makes them 0 before the clamp.
    store.writeInt(s, names::kCompressRatio, Clamped(std::max(f.compressRatio, 0), kQualityRange));
    store.writeInt(s, names::kExifInfo, f.exifInfo ? 1 : 0);
    store.writeString(s, names::kSourcePath, f.sourcePath);
    store.writeString(s, names::kDestPath, f.destPath);
    store.writeInt(s, names::kNaming, f.naming ? 1 : 0);
    store.writeString(s, names::kPrefix, f.prefix);
    store.writeString(s, names::kPostfix, f.postfix);
    store.writeInt(s, names::kUseColorBorder, f.useColorBorder ? 1 : 0);
    store.writeInt(s, names::kBorderColor, int(ParseColorText(f.borderColorText)));
    store.writeInt(s, names::kBorderMargin, Clamped(std::max(f.borderMargin, 0), kMarginRange));
    store.writeInt(s, names::kStampPos, f.stampPos);
    store.writeString(s, names::kStampMethod, f.stampMethod);
    store.writeString(s, names::kStampColor, f.stampColorText);
    store.writeInt(s, names::kStampEmboss, f.stampEmboss ? 1 : 0);
    if (fontSelected) store.writeString(s, names::kStampFont, f.stampFont);
    store.writeString(s, names::kStampFontSize, f.stampFontSizeText);
    store.writeInt(s, names::kAllPictureTypes, f.allPictureTypes ? 1 : 0);
}

RunSettings CaptureRunSettings(const DialogFields& f) {
    RunSettings r;
    r.recursive = f.recursive;
    r.method = f.method == kMethodRatio   ? kMethodRatio
               : f.method == kMethodPixel ? kMethodPixel
                                          : kMethodBound;
    r.fitToBound = f.fitBound;
    // The quality field is read as an unsigned number: a sign makes it 0, raised to 10.
    r.quality = Clamped(std::max(f.compressRatio, 0), kQualityRange);
    switch (r.method) {
        case kMethodRatio:
            r.sizeValue = uint32_t(Clamped(f.sizeRatio, kRatioRange));
            break;
        case kMethodPixel:
            r.sizeValue = uint32_t(Clamped(f.fixSize, kPixelRange));
            break;
        default:
            r.sizeValue = uint32_t(Clamped(f.boundWidth, kPixelRange)) +
                          uint32_t(Clamped(f.boundHeight, kPixelRange)) * 65536u;
            break;
    }
    r.copyExif = f.exifInfo;
    r.prefix = f.naming ? f.prefix : "";
    r.postfix = f.naming ? f.postfix : "";
    // A mode outside the list would make the drawing fail; the list's first entry stands in.
    r.interpolationMode =
        f.interpolationMethod >= 0 && f.interpolationMethod < kInterpolationModeCount
            ? f.interpolationMethod
            : 0;
    if (f.useColorBorder) {
        r.borderColor = int32_t(ParseColorText(f.borderColorText));
        r.borderMargin = Clamped(f.borderMargin, kMarginRange);
    } else {
        r.borderColor = -1;
        r.borderMargin = 0;
    }
    r.destinationFolder = f.destPath;
    r.sourceFolder = f.sourcePath;
    r.stampPosition = f.stampPos >= 0 && f.stampPos < kStampPositionCount ? f.stampPos : 0;
    r.stampPattern = f.stampMethod;
    r.stampFont = f.stampFont.empty() ? std::string(names::kDefaultStampFont) : f.stampFont;
    r.stampFontSize = ReadNumberText(f.stampFontSizeText);
    r.semiTransparent = f.stampEmboss;
    r.stampColor = ParseColorText(f.stampColorText);
    r.allPictureTypes = f.allPictureTypes;
    r.maxPixels = f.maxPixels > 0 ? f.maxPixels : kDefaultMaxPixels;
    r.maxMemoryMb = Clamped(f.maxMemoryMb, kMemoryRange);
    return r;
}

}  // namespace corvelle
