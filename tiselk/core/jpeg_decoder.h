#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "core/byte_source.h"
#include "core/packed_dib.h"
#include "core/picture_limits.h"

namespace corvelle {

// Receives the JPEG library's message texts: a fatal error (the picture is then refused) and
// the first warning of a picture. The dialog shows them in a "JPEG Library Error" box, the
// command line prints them to stderr. An empty sink drops them.
using JpegMessageSink = std::function<void(const std::string& message)>;
inline constexpr char kJpegMessageCaption[] = "JPEG Library Error";

// One-component pictures give 8 bits with a gray ramp, three components 24 bits (blue,
// green, red), four components (CMYK or YCCK) are converted to 24 bits. None on a fatal error.
std::optional<PackedDib> DecodeJpeg(ByteSource& source, const JpegMessageSink& messages = {},
                                    const PictureLimits& limits = {});
std::optional<PackedDib> DecodeJpegFromMemory(std::span<const uint8_t> bytes,
                                              const JpegMessageSink& messages = {},
                                              const PictureLimits& limits = {});

}  // namespace corvelle
