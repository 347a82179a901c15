#include "core/iso_media_boxes.h"

#include <algorithm>

namespace corvelle {

std::vector<IsoBox> IsoBoxReader::topLevel() { return list(0, m_file.size(), 0); }

std::vector<IsoBox> IsoBoxReader::children(const IsoBox& parent, uint64_t skip) {
    if (parent.depth + 1 > kMaxDepth || skip > parent.payloadLength()) return {};
    return list(parent.payload + skip, parent.end, parent.depth + 1);
}

std::vector<IsoBox> IsoBoxReader::list(uint64_t begin, uint64_t end, int depth) {
    std::vector<IsoBox> boxes;
    for (uint64_t at = begin; at < end && m_listed < kMaxBoxes;) {
        const std::optional<IsoBox> box = boxAt(at, end, depth);
        if (!box || !m_starts.insert(box->start).second) break;
        ++m_listed;
        boxes.push_back(*box);
        at = box->end;
    }
    return boxes;
}

std::optional<IsoBox> IsoBoxReader::boxAt(uint64_t start, uint64_t end, int depth) const {
    uint8_t header[32];
    const uint64_t room = end - start;
    const size_t got =
        m_file.readAt(start, header, size_t(std::min<uint64_t>(sizeof header, room)));
    if (got < 8) return std::nullopt;
    IsoBox box;
    box.start = start;
    box.depth = depth;
    uint64_t size = uint64_t(header[0]) << 24 | uint64_t(header[1]) << 16 |
                    uint64_t(header[2]) << 8 | header[3];
    box.type = uint32_t(header[4]) << 24 | uint32_t(header[5]) << 16 | uint32_t(header[6]) << 8 |
               header[7];
    uint64_t headerSize = 8;
    if (size == 1) {  // a 64-bit size follows the type
        if (got < 16) return std::nullopt;
        size = 0;
        for (int i = 8; i < 16; ++i) size = size << 8 | header[i];
        headerSize = 16;
    } else if (size == 0) {  // the box runs to the end of what holds it
        size = room;
    }
    if (box.type == FourCC("uuid")) {
        if (got < headerSize + 16) return std::nullopt;
        std::copy(header + headerSize, header + headerSize + 16, box.uuid.begin());
        headerSize += 16;
    }
    if (size < headerSize || size > room) return std::nullopt;
    box.payload = start + headerSize;
    box.end = start + size;
    return box;
}

std::optional<std::vector<uint8_t>> IsoBoxReader::payloadBytes(const IsoBox& box) const {
    if (box.payloadLength() > kMaxTableBytes) return std::nullopt;
    std::vector<uint8_t> bytes(size_t(box.payloadLength()));
    if (m_file.readAt(box.payload, bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
    return bytes;
}

std::optional<IsoBox> FindBox(const std::vector<IsoBox>& boxes, uint32_t type) {
    const auto found = std::find_if(boxes.begin(), boxes.end(),
                                    [&](const IsoBox& box) { return box.type == type; });
    if (found == boxes.end()) return std::nullopt;
    return *found;
}

uint64_t BigEndianCursor::number(int width) {
    if (!m_ok || width < 0 || width > 8 || size_t(width) > left()) {
        m_ok = false;
        return 0;
    }
    uint64_t value = 0;
    for (int i = 0; i < width; ++i) value = value << 8 | m_bytes[m_position + size_t(i)];
    m_position += size_t(width);
    return value;
}

void BigEndianCursor::skip(size_t count) {
    if (!m_ok || count > left()) {
        m_ok = false;
        return;
    }
    m_position += count;
}

}  // namespace corvelle
