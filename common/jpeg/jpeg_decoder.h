#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/byte_source.h"
#include "core/packed_dib.h"
#include "core/picture_limits.h"
#include "jpeg/jpeg_messages.h"

namespace corvelle {

// The caption of the box in which the viewer shows the library's messages.
inline constexpr char kJpegMessageCaption[] = "JPEG Library Error";

// Why a decode gave no picture, beyond the library's own message, for callers that tell the
// user in their own words.
enum class JpegRefusal {
    kNone,
    kLibraryError,  // the library gave up; its message went to the sink
    kTooLarge,      // the header asks for more than the limits allow
    kTooManyScans,  // a progressive stream with more scans than any real picture has
    kAbandoned,     // the caller no longer wanted the picture
};

// What the decoder learnt of a stream, filled as far as it got.
struct JpegOutcome {
    JpegRefusal refusal = JpegRefusal::kNone;
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 0;  // 0 until the header has been read
};

// One-component pictures give 8 bits with a gray ramp, three components 24 bits (blue,
// green, red), four components (CMYK or YCCK) are converted to 24 bits. The library's
// messages go to `messages`: a fatal error, then no picture, and the first warning of a
// picture (a cut-off file still gives the whole picture, filled as the library fills it).
std::optional<PackedDib> DecodeJpeg(ByteSource& source, const JpegMessageSink& messages = {},
                                    const PictureLimits& limits = {},
                                    JpegOutcome* outcome = nullptr);
std::optional<PackedDib> DecodeJpegFromMemory(std::span<const uint8_t> bytes,
                                              const JpegMessageSink& messages = {},
                                              const PictureLimits& limits = {},
                                              JpegOutcome* outcome = nullptr);

// JFIF density units.
inline constexpr int kJfifUnitNone = 0;
inline constexpr int kJfifUnitDotsPerInch = 1;
inline constexpr int kJfifUnitDotsPerCentimetre = 2;

// A JFIF density as bitmap pixels per metre: dots per inch x 39.37 truncated, any other unit
// (none, dots per centimetre) x 100.
int PelsPerMeterFromJfifDensity(int unit, int density);

}  // namespace corvelle
