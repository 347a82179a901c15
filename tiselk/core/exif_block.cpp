#include "core/exif_block.h"

#include <algorithm>

namespace corvelle {

std::optional<uint8_t> ExifBlockReader::byteAt(int64_t position) const {
    if (!contains(position, 1)) return std::nullopt;
    return m_block[static_cast<size_t>(position)];
}

std::optional<uint32_t> ExifBlockReader::read16(int64_t position) const {
    if (!contains(position, 2)) return std::nullopt;
    const uint8_t* p = m_block.data() + position;
    return m_bigEndian ? (uint32_t{p[0]} << 8) | p[1] : (uint32_t{p[1]} << 8) | p[0];
}

std::optional<uint32_t> ExifBlockReader::read32(int64_t position) const {
    if (!contains(position, 4)) return std::nullopt;
    const uint8_t* p = m_block.data() + position;
    if (m_bigEndian) {
        return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
    }
    return (uint32_t{p[3]} << 24) | (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
}

std::optional<std::string> ExifBlockReader::textAt(int64_t position, int64_t limit) const {
    if (!contains(position, 1) || limit < 0) return std::nullopt;
    const int64_t available = std::min(limit, size() - position);
    const auto* begin = reinterpret_cast<const char*>(m_block.data() + position);
    const auto* end = begin + available;
    return std::string(begin, std::find(begin, end, '\0'));
}

}  // namespace corvelle
