// The shooting date looked up in a picture's EXIF TIFF structure, and the stamp made of it.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "core/shot_date.h"
#include "core/stamp_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string date = corvelle::ReadShotDate(std::span<const uint8_t>(data, size));
    (void)corvelle::FormatStamp(date, "%Y %m/%d - %H:%M:%S");
    // The raw bytes as a date text too: the stamp's own splitting and calendar arithmetic.
    (void)corvelle::FormatStamp(std::string_view(reinterpret_cast<const char*>(data), size), "%c");
    return 0;
}
