// The metadata another format's loader hands over (an EXIF block with or without its mark,
// an ICC profile) turned into JPEG segments, with the Orientation entry rewritten; and the
// step record file read back at start. All of these bytes come from files.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/exif_orientation.h"
#include "core/picture_metadata.h"
#include "core/step_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    std::vector<uint8_t> copy(bytes.begin(), bytes.end());
    (void)corvelle::SetExifOrientation(copy, 1);
    (void)corvelle::SegmentsForMetadata(bytes, bytes.first(size / 2), true);
    (void)corvelle::DecodeStepRecord(bytes);
    return 0;
}
