// Feeds arbitrary bytes to the EXIF reader as a picture file: once under a JPEG name and
// once under a TIFF name, so both ways of finding the metadata block are exercised (the TIFF
// way hands the walk the bytes themselves as the block). The bytes are read from memory:
// the name only chooses the rule.
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/byte_source.h"
#include "core/report/file_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* name : {"input.jpg", "input.tif"}) {
        corvelle::MemoryByteSource source(std::span<const uint8_t>(data, size));
        corvelle::FileInfo info = corvelle::ReadFileInfo(source, name);
        (void)info;
    }
    return 0;
}
