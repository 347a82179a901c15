#include "core/mul_div.h"

#include <cstdlib>
#include <limits>

namespace corvelle {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const int64_t product = static_cast<int64_t>(a) * b;
    const uint64_t magnitude = static_cast<uint64_t>(product < 0 ? -product : product);
    const uint64_t divisor = static_cast<uint64_t>(std::llabs(c));
    const uint64_t rounded = (magnitude + divisor / 2) / divisor;
    const bool negative = (product < 0) != (c < 0);
    if (rounded > static_cast<uint64_t>(std::numeric_limits<int>::max())) return -1;
    const int64_t value = static_cast<int64_t>(rounded);
    return static_cast<int>(negative ? -value : value);
}

}  // namespace corvelle
