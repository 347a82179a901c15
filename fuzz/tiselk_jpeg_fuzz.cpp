// Feeds arbitrary bytes to the JPEG decoder as a whole file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "jpeg/jpeg_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Small limits keep each run quick: a lying header costs a refusal instead of megabytes
    // of pixels converted, and the checks are the same as at full size.
    corvelle::PictureLimits limits;
    limits.maxPictureBytes = 64 << 10;
    limits.maxWorkingBytes = 1 << 20;
    int messages = 0;
    const auto picture = corvelle::DecodeJpegFromMemory(
        std::span<const uint8_t>(data, size), [&](const std::string&) { ++messages; }, limits);
    if (picture) {
        volatile uint8_t last = picture->bytes().back();
        (void)last;
    }
    return 0;
}
