// The WebP (RIFF) chunk walker over hostile bytes; whatever it finds must lie inside the file.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_source.h"
#include "core/chunked_exif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const corvelle::MemoryByteSource source(std::span<const uint8_t>(data, size));
    if (const auto found = corvelle::FindWebpExif(source); found && found->end() > size)
        __builtin_trap();
    return 0;
}
