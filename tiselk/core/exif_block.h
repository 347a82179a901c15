#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvelle {

// The metadata block of one file: offset 0 is the first byte of the TIFF header, and
// every offset stored in the metadata counts from there.
using MetadataBlock = std::vector<uint8_t>;

// Bounded reads from a metadata block in its current byte order. Positions are signed
// 64-bit so that a position computed from hostile numbers (a maker-note base below the
// header, a 32-bit offset past the end) is simply "outside" instead of wrapping.
class ExifBlockReader {
  public:
    explicit ExifBlockReader(const MetadataBlock& block) : m_block(block) {}

    int64_t size() const { return static_cast<int64_t>(m_block.size()); }
    bool contains(int64_t position, int64_t length) const {
        return position >= 0 && length >= 0 && position <= size() && length <= size() - position;
    }

    bool bigEndian() const { return m_bigEndian; }
    void setBigEndian(bool big) { m_bigEndian = big; }

    std::optional<uint32_t> read16(int64_t position) const;
    std::optional<uint32_t> read32(int64_t position) const;
    std::optional<uint8_t> byteAt(int64_t position) const;

    // Bytes from `position` up to the first zero byte, at most `limit` bytes and never past
    // the block's end; none when `position` itself lies outside.
    std::optional<std::string> textAt(int64_t position, int64_t limit) const;

  private:
    const MetadataBlock& m_block;
    bool m_bigEndian = false;
};

// Restores the reader's byte order when a maker-note walk ends, however it ends.
class ByteOrderScope {
  public:
    explicit ByteOrderScope(ExifBlockReader& reader)
        : m_reader(reader), m_saved(reader.bigEndian()) {}
    ~ByteOrderScope() { m_reader.setBigEndian(m_saved); }
    ByteOrderScope(const ByteOrderScope&) = delete;
    ByteOrderScope& operator=(const ByteOrderScope&) = delete;

  private:
    ExifBlockReader& m_reader;
    bool m_saved;
};

}  // namespace corvelle
