#include "core/exif/exif_block.h"

#include <algorithm>

namespace corvelle {

std::optional<std::string> ExifBlockReader::textAt(int64_t position, int64_t limit) const {
    if (!contains(position, 1) || limit < 0) return std::nullopt;
    const int64_t available = std::min(limit, size() - position);
    // Texts are short, but one may run up to the limit: read a piece at a time until its zero.
    std::string text;
    uint8_t piece[256];
    for (int64_t done = 0; done < available;) {
        const int64_t take = std::min<int64_t>(sizeof piece, available - done);
        if (!m_bytes.read(position + done, std::span(piece, size_t(take)))) break;
        const uint8_t* end = std::find(piece, piece + take, uint8_t(0));
        text.append(reinterpret_cast<const char*>(piece), size_t(end - piece));
        if (end != piece + take) break;
        done += take;
    }
    return text;
}

}  // namespace corvelle
