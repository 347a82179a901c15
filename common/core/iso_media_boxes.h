#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

#include "core/byte_source.h"

namespace corvelle {

// A box type from its four characters: FourCC("moov").
constexpr uint32_t FourCC(const char (&name)[5]) {
    return uint32_t(uint8_t(name[0])) << 24 | uint32_t(uint8_t(name[1])) << 16 |
           uint32_t(uint8_t(name[2])) << 8 | uint32_t(uint8_t(name[3]));
}

// One box of an ISO base media file (HEIF, CR3, MP4, QuickTime).
struct IsoBox {
    uint32_t type = 0;
    std::array<uint8_t, 16> uuid{};  // the extended type of a "uuid" box
    uint64_t start = 0;              // the size field's first byte
    uint64_t payload = 0;            // the first byte after the header
    uint64_t end = 0;                // one past the box's last byte
    int depth = 0;                   // 0 for a box at the top of the file

    uint64_t payloadLength() const { return end - payload; }
};

// Lists the boxes of a file level by level. The file is hostile, so the walk has hard
// limits: nesting depth, the number of boxes listed in all, and a record of every box
// start already listed, so that no box is ever listed twice, however the sizes lie.
class IsoBoxReader {
  public:
    static constexpr int kMaxDepth = 12;
    static constexpr size_t kMaxBoxes = 20000;
    // Directory boxes (item information, locations, keys) are read whole up to this size.
    static constexpr uint64_t kMaxTableBytes = uint64_t(4) << 20;

    explicit IsoBoxReader(const ByteSource& file) : m_file(file) {}

    const ByteSource& file() const { return m_file; }

    std::vector<IsoBox> topLevel();
    // The boxes inside the parent's payload, starting `skip` bytes in (the version and
    // flags of a full box, a sample entry's fields). Listing stops at the first box that
    // does not lie whole inside the parent.
    std::vector<IsoBox> children(const IsoBox& parent, uint64_t skip = 0);

    // The payload's bytes, or none when it is longer than kMaxTableBytes or cannot be read.
    std::optional<std::vector<uint8_t>> payloadBytes(const IsoBox& box) const;

  private:
    std::vector<IsoBox> list(uint64_t begin, uint64_t end, int depth);
    std::optional<IsoBox> boxAt(uint64_t start, uint64_t end, int depth) const;

    const ByteSource& m_file;
    size_t m_listed = 0;
    std::unordered_set<uint64_t> m_starts;
};

// The first box of a type in a list.
std::optional<IsoBox> FindBox(const std::vector<IsoBox>& boxes, uint32_t type);

// Bounded big-endian reads from bytes at hand (a box's payload).
class BigEndianCursor {
  public:
    explicit BigEndianCursor(const std::vector<uint8_t>& bytes, size_t position = 0)
        : m_bytes(bytes), m_position(position) {}

    bool ok() const { return m_ok; }
    size_t position() const { return m_position; }
    size_t left() const {
        return m_ok && m_position <= m_bytes.size() ? m_bytes.size() - m_position : 0;
    }
    // A number of 0, 1, 2, 4 or 8 bytes; reading past the end makes the cursor fail.
    uint64_t number(int width);
    void skip(size_t count);

  private:
    const std::vector<uint8_t>& m_bytes;
    size_t m_position;
    bool m_ok = true;
};

}  // namespace corvelle
