// The search for the JPEG pictures of a TIFF-based raw file over hostile bytes, and the
// decoding of what it finds, as the photo view does for a raw file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_source.h"
#include "core/decoding/byte_window.h"
#include "core/decoding/raw_preview.h"
#include "jpeg/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const corvelle::MemoryByteSource file(std::span<const uint8_t>(data, size));
    corvelle::PictureLimits limits;
    limits.maxPictureBytes = 16 << 20;
    limits.maxWorkingBytes = 16 << 20;
    for (const corvelle::ByteRange& range : corvelle::EmbeddedJpegPictures(file)) {
        if (range.end() > size) __builtin_trap();
        corvelle::ByteWindow window(file, range);
        (void)corvelle::DecodeJpeg(window, {}, limits);
        break;  // the largest, as the viewer tries it first
    }
    return 0;
}
