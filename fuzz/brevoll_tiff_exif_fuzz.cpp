// The EXIF data of a TIFF source rebuilt without its pixels: every directory and value is
// read from the file, and what is built is read again as the shooting date is.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/byte_source.h"
#include "core/shot_date.h"
#include "core/tiff_exif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const corvelle::MemoryByteSource source(std::span<const uint8_t>(data, size));
    const std::vector<uint8_t> rebuilt = corvelle::ExifOfTiffPicture(source);
    (void)corvelle::ReadShotDate(rebuilt);
    return 0;
}
