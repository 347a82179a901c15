// The PNG EXIF lookup with its raw-profile text chunks over hostile bytes: inflating and hex
// decoding stay within their bounds, and an eXIf chunk found lies inside the file.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/byte_source.h"
#include "core/chunked_exif.h"
#include "core/png_text_exif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The signature is put in front, so every input reaches the chunks.
    std::vector<uint8_t> file(std::begin(corvelle::kPngSignature),
                              std::end(corvelle::kPngSignature));
    file.insert(file.end(), data, data + size);
    const corvelle::MemoryByteSource source(file);
    const auto found = corvelle::FindPngExifStructure(source);
    if (found && !found->gathered && found->place.end() > file.size()) __builtin_trap();
    if (found && found->gathered && found->gathered->size() > corvelle::kMaxRawProfileBytes)
        __builtin_trap();
    return 0;
}
