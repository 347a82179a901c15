// The TIFF entry layer under every metadata reader, over hostile bytes: the byte-order mark,
// a chain of directories (links back or in circles included), every entry and its data.
#include <cstddef>
#include <cstdint>

#include "core/byte_source.h"
#include "core/tiff_entries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace corvelle;
    const MemoryByteSource source(std::span<const uint8_t>(data, size));
    // The first byte picks a window, as a reader of a JPEG's APP1 segment sees one.
    const uint64_t base = size > 0 ? data[0] % 16 : 0;
    TiffBytes tiff(source, base, size);
    if (!tiff.readByteOrderMark()) tiff.setBigEndian(size > 1 && (data[1] & 1));
    TiffDirectoryTrail trail(64);
    std::optional<uint32_t> next = tiff.read32(4);
    while (next && trail.enter(*next)) {
        const int64_t directory = *next;
        next.reset();
        const auto link = WalkTiffDirectory(tiff, directory, [&](const TiffEntry& entry) {
            const int64_t length = TiffDataLength(entry);
            const int64_t at = TiffDataPosition(tiff, entry, int64_t(entry.tag % 3) - 1);
            uint8_t first[8];
            if (tiff.contains(at, length))
                (void)tiff.read(at, std::span(first, length < 8 ? size_t(length) : 8));
            if (entry.tag == 0x8769 || entry.tag == 0x927C)
                next = tiff.get32(entry.valueField.data());
            return entry.type != 0;
        });
        if (!next && link) next = tiff.read32(*link);
    }
    return 0;
}
