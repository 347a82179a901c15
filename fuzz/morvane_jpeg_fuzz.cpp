// Morvane's JPEG loader over arbitrary bytes, then the work a loaded photo goes through:
// both gray renderings, a trimming crop and the noise filter on small pictures.

#include <cstddef>
#include <cstdint>

#include "core/gray_rendering.h"
#include "core/jpeg_file.h"
#include "core/noise_filter.h"
#include "core/trim_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvelle;
    // Small limits keep each run quick, as in the viewer's JPEG fuzzer.
    PictureLimits limits;
    limits.maxPictureBytes = 3 << 20;
    limits.maxWorkingBytes = 1 << 20;
    std::optional<PackedDib> photo = LoadJpegBytes({data, size}, nullptr, limits);
    if (!photo) return 0;
    for (GrayLevels levels : {GrayLevels::k1786, GrayLevels::k4336})
        RenderHighLevelGray(*photo, levels);
    const int trimSize = size % kTrimSizes.size();
    const DibRect frame = TrimFrameInPicture(photo->width(), photo->height(), trimSize,
                                             {int(size) - 500, 7 - int(size)});
    if (frame.width() > 0) CropDib(*photo, frame);
    if (uint64_t(photo->width()) * photo->height() <= 64 * 64)
        ApplyNoiseFilter(NoiseFilterSettings::limited(int(size % 256), int(size % 26)), *photo);
    return 0;
}
