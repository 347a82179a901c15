// Feeds arbitrary bytes to the TIFF decoder as a whole file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_source.h"
#include "core/decoding/tiff_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvelle::MemoryByteSource source(std::span<const uint8_t>(data, size));
    // Small limits keep each run quick: a lying header costs a refusal instead of megabytes
    // of pixels converted, and the checks are the same as at full size.
    corvelle::PictureLimits limits;
    limits.maxPictureBytes = 64 << 10;
    limits.maxWorkingBytes = 1 << 20;
    const auto picture = corvelle::DecodeTiff(source, limits);
    if (picture) {
        volatile uint8_t last = picture->bytes().back();
        (void)last;
    }
    return 0;
}
