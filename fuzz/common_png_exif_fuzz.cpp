// The PNG chunk walker over hostile bytes; whatever it finds must lie inside the file.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "core/byte_source.h"
#include "core/chunked_exif.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The signature is put in front, so every input reaches the chunks.
    std::vector<uint8_t> file(std::begin(corvelle::kPngSignature),
                              std::end(corvelle::kPngSignature));
    file.insert(file.end(), data, data + size);
    const corvelle::MemoryByteSource source(file);
    if (const auto found = corvelle::FindPngExif(source); found && found->end() > file.size())
        __builtin_trap();
    return 0;
}
