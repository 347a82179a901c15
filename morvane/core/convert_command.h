#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/gray_rendering.h"
#include "core/noise_filter.h"
#include "core/trim_frame.h"

namespace corvelle {

// What `morvane --convert` does, after the command line has been read.
struct ConvertRequest {
    std::string input;
    std::string output;
    std::optional<NoiseFilterSettings> denoise;
    std::optional<GrayLevels> gray;
    int trimSize = kTrimNone;
    TrimOffset trimOffset;
    int quality = 100;  // for JPEG output
};

enum class ConvertOutputKind { kJpeg, kBmp, kGray16Png, kGray16Tiff, kUnknown };
// By the file name's ending, in any case: .jpg or .jpeg, .bmp, .png, .tif or .tiff.
ConvertOutputKind ConvertOutputKindFor(std::string_view path);

// Loads, removes noise (24-bit photos only), renders gray (an 8-bit photo stays as
// loaded), crops to the trimming frame kept inside the picture, and writes. A PNG or TIFF
// output holds the photo's luminance as 16-bit gray instead of a gray rendering. On failure
// the message names the file and the reason, ready for one line on the error stream.
struct ConvertResult {
    bool ok = false;
    std::string error;
};
ConvertResult RunConvert(const ConvertRequest& request);

// "A,B" with two decimal integers (signs allowed), as --trim-offset and --denoise take.
std::optional<std::pair<int, int>> ParseIntegerPair(std::string_view text);
// One decimal integer filling the whole text.
std::optional<int> ParseInteger(std::string_view text);

}  // namespace corvelle
