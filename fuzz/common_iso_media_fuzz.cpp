// The ISO media box walker over hostile bytes: HEIF items (iinf, iloc, iref, idat), a CR3's
// Canon boxes and previews, and a movie's header and QuickTime keys.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_source.h"
#include "core/iso_media_metadata.h"
#include "core/movie_date.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const corvelle::MemoryByteSource file(std::span<const uint8_t>(data, size));
    const corvelle::IsoMediaMetadata found = corvelle::ReadIsoMediaMetadata(file);
    for (const corvelle::ExifStructure& exif : found.exif) {
        // Pieces put together stay within their bound; a structure in place within the file.
        if (exif.gathered ? exif.gathered->size() > (size_t(4) << 20) : exif.place.end() > size)
            __builtin_trap();
    }
    (void)corvelle::MovieShootingDateText(file);
    return 0;
}
