#pragma once

#include <cstdint>

namespace corvelle {

// A stretch of a file: where it starts and how many bytes it holds.
struct ByteRange {
    uint64_t offset = 0;
    uint64_t length = 0;

    uint64_t end() const { return offset + length; }
    bool operator==(const ByteRange&) const = default;
};

}  // namespace corvelle
