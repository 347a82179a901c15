#include "core/exif_block.h"

#include <algorithm>

namespace corvelle {

std::optional<std::string> ExifBlockReader::textAt(int64_t position, int64_t limit) const {
    if (!contains(position, 1) || limit < 0) return std::nullopt;
    const int64_t available = std::min(limit, size() - position);
    const auto* begin = reinterpret_cast<const char*>(m_block.data() + position);
    const auto* end = begin + available;
    return std::string(begin, std::find(begin, end, '\0'));
}

}  // namespace corvelle
