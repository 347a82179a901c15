// The head-buffered source against the bytes it buffers: the input's first 64 bytes are 16
// reads (offset and length, scaled to the rest), the rest is the source. Every read must
// give exactly what the plain source gives, whatever the head and window hold.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "core/buffered_byte_source.h"
#include "core/byte_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr size_t kReads = 16;
    if (size < kReads * 4) return 0;
    const std::span<const uint8_t> bytes(data + kReads * 4, size - kReads * 4);
    const corvelle::MemoryByteSource plain(bytes);
    // A small head, so that short inputs reach the window too.
    const corvelle::HeadBufferedSource buffered(plain, 1 + data[0] % 64);
    std::vector<uint8_t> expected, got;
    for (size_t i = 0; i < kReads; ++i) {
        const uint8_t* read = data + i * 4;
        const uint64_t offset = (uint64_t(read[0]) << 8 | read[1]) % (bytes.size() + 2);
        const size_t count = (size_t(read[2]) << 8 | read[3]) % 200;
        expected.assign(count, 0);
        got.assign(count, 0xEE);
        const size_t expectedCount = plain.readAt(offset, expected);
        if (buffered.readAt(offset, got) != expectedCount) __builtin_trap();
        if (expectedCount > 0 && std::memcmp(expected.data(), got.data(), expectedCount) != 0)
            __builtin_trap();
    }
    return 0;
}
