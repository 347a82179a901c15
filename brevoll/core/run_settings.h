#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvelle {

class SettingsStore;

inline constexpr std::string_view kBrevollSection = "Settings";

// 16384 x 16384: a picture that size needs 805 MB decoded.
inline constexpr int64_t kDefaultMaxPixels = int64_t(16384) * 16384;
inline constexpr int kDefaultMaxMemoryMb = 1024;

// Everything one batch run needs, fixed when the run starts.
struct RunSettings {
    std::string sourceFolder;
    std::string destinationFolder;
    bool recursive = true;
    int method = 0;  // 0 ratio, 1 longest side in pixels, 2 bounding box
    bool fitToBound = false;
    // Ratio: percent; Pixel: pixels; Bound: width in bits 0-15, height in bits 16-31.
    uint32_t sizeValue = 50;
    std::string prefix;
    std::string postfix;
    int32_t borderColor = -1;  // 0xRRGGBB; -1 without a border
    int32_t borderMargin = 0;
    int32_t quality = 100;
    bool copyExif = true;
    int32_t interpolationMode = 0;
    int32_t stampPosition = 0;  // 0 none, 1..3 top left/centre/right, 4..6 bottom
    std::string stampPattern = "%x %X";
    std::string stampFont = "Times New Roman";
    int32_t stampFontSize = 12;
    bool semiTransparent = true;
    uint32_t stampColor = 0;  // six digits read as 0xBBGGRR
    // Pictures declaring more pixels than this are refused before they are decoded.
    int64_t maxPixels = kDefaultMaxPixels;
    // Besides the names containing ".jpg": HEIC, HEIF, AVIF, PNG, WebP, TIFF and ".jpeg".
    bool allPictureTypes = true;
    // The memory the pictures under way may take together, in MiB.
    int maxMemoryMb = kDefaultMaxMemoryMb;
};

// The ranges a run keeps its numbers in; the dialog and the command line bring every number
// into them.
struct NumberRange {
    int min;
    int max;
};
inline constexpr NumberRange kRatioRange{1, 100};
inline constexpr NumberRange kPixelRange{10, 10000};  // the longest side, each bound side
inline constexpr NumberRange kQualityRange{10, 100};
inline constexpr NumberRange kMarginRange{0, 50};
inline constexpr NumberRange kMemoryRange{64, 1048576};  // MiB

inline int Clamped(int value, NumberRange range) {
    return value < range.min ? range.min : value > range.max ? range.max : value;
}

inline constexpr int kMethodRatio = 0;
inline constexpr int kMethodPixel = 1;
inline constexpr int kMethodBound = 2;

inline int BoundWidth(const RunSettings& s) { return int(s.sizeValue & 0xFFFF); }
inline int BoundHeight(const RunSettings& s) { return int(s.sizeValue >> 16); }

// The main dialog's fields as the user left them (numbers already read from their texts;
// a text that is no number reads as 0). Capturing applies the run's clamping rules.
struct DialogFields {
    int method = 0;
    int sizeRatio = 50;
    int fixSize = 640;
    int boundWidth = 800;
    int boundHeight = 600;
    bool fitBound = false;
    bool recursive = true;
    int compressRatio = 100;
    bool exifInfo = true;
    std::string sourcePath;
    std::string destPath;
    bool naming = false;
    std::string prefix;
    std::string postfix;
    bool useColorBorder = false;
    std::string borderColorText = "000000";
    int borderMargin = 0;
    int stampPos = 0;
    std::string stampMethod = "%x %X";
    std::string stampColorText = "FF0000";
    bool stampEmboss = true;
    std::string stampFont = "Times New Roman";
    std::string stampFontSizeText = "12";
    int interpolationMethod = 0;  // the stored value as a run reads it
    bool allPictureTypes = true;
    int64_t maxPixels = kDefaultMaxPixels;  // stored only; no field shows it
    int maxMemoryMb = kDefaultMaxMemoryMb;  // stored only; no field shows it
};

// The fields as the dialog shows them from the stored settings (defaults on first start).
DialogFields ReadDialogFields(const SettingsStore& store);

RunSettings CaptureRunSettings(const DialogFields& fields);

// Writes every field as the main dialog does when it closes, with the ranges enforced:
// "Size Ratio" 1..100, the pixel sizes 10..10000, "Border Margin" 0..50, "Compress ratio"
// 10..100. The font is written only when one is selected; "Interpolation Method" is not
// written here (the list writes it on every change).
void WriteDialogFields(SettingsStore& store, const DialogFields& fields, bool fontSelected);

// Reads a colour field: upper-cased, only its first six characters, every hexadecimal digit
// among them accumulated, everything else skipped ("12 34" reads 0x1234).
uint32_t ParseColorText(std::string_view text);

// A number field as the dialog reads it: optional sign, then leading digits; anything
// else reads as 0. Values beyond the int range saturate.
int ReadNumberText(std::string_view text);

}  // namespace corvelle
