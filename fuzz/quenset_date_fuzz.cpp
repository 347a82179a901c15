// Quenset's date lookup over hostile bytes, both as a JPEG and as a TIFF-structured file,
// followed by the parse and the name expansion of whatever date text it finds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/byte_source.h"
#include "core/date_lookup.h"
#include "core/file_naming.h"
#include "core/name_template.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const corvelle::MemoryByteSource file(std::span<const uint8_t>(data, size));
    static const corvelle::NameTemplate nameTemplate = corvelle::BuildNameTemplate({});
    for (bool isJpeg : {true, false}) {
        const std::string text = corvelle::ShootingDateText(file, isJpeg);
        if (const auto taken = corvelle::ParseShootingDate(text))
            (void)corvelle::ExpandForTime(nameTemplate, *taken);
    }
    // The date text itself is untrusted too.
    const std::string_view raw(reinterpret_cast<const char*>(data), size < 64 ? size : 64);
    if (const auto taken = corvelle::ParseShootingDate(raw))
        (void)corvelle::ExpandForTime(nameTemplate, *taken);
    return 0;
}
