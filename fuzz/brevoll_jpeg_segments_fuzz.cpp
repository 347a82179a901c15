// The JPEG header walk that finds a picture's EXIF and ICC segments and puts them into the
// saved picture, and the test for a picture cut short: all read bytes from files.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_source.h"
#include "core/jpeg_segments.h"
#include "core/shot_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    corvelle::JpegMetadataSegments found;
    corvelle::FindMetadataSegments(bytes, found);
    (void)corvelle::ReadShotDate(corvelle::ExifTiffBytes(found));
    // The same bytes as the picture the segments go into.
    (void)corvelle::SpliceMetadataSegments(bytes, found);
    // Whether the picture is cut short, from its header and tail.
    const corvelle::MemoryByteSource source(bytes);
    (void)corvelle::JpegEndsEarly(source);
    return 0;
}
