#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_source.h"
#include "core/tiff_entries.h"

namespace corvelle {

// The metadata block of one file: offset 0 is the first byte of the TIFF header, and
// every offset stored in the metadata counts from there.
using MetadataBlock = std::vector<uint8_t>;

// Where a file's metadata block lies in its bytes: offset 0 of the block is `base` in the
// file, and the block reaches `length` bytes from there (or to the file's end).
struct MetadataPlace {
    uint64_t base = 0;
    uint64_t length = 0;
};

// Bounded reads from a metadata block in its current byte order, through the TIFF entry
// layer. Maker notes switch the byte order while they are read (see ByteOrderScope).
class ExifBlockReader {
  public:
    explicit ExifBlockReader(const MetadataBlock& block) : m_memory(block), m_bytes(m_memory) {}
    // The block in place in a file's bytes, which the caller keeps alive.
    ExifBlockReader(const ByteSource& source, const MetadataPlace& place)
        : m_memory({}), m_bytes(source, place.base, place.length) {}
    ExifBlockReader(const ExifBlockReader&) = delete;
    ExifBlockReader& operator=(const ExifBlockReader&) = delete;

    const TiffBytes& bytes() const { return m_bytes; }
    int64_t size() const { return m_bytes.size(); }
    bool contains(int64_t position, int64_t length) const {
        return m_bytes.contains(position, length);
    }

    bool bigEndian() const { return m_bytes.bigEndian(); }
    void setBigEndian(bool big) { m_bytes.setBigEndian(big); }

    std::optional<uint32_t> read16(int64_t position) const { return m_bytes.read16(position); }
    std::optional<uint32_t> read32(int64_t position) const { return m_bytes.read32(position); }
    std::optional<uint8_t> byteAt(int64_t position) const { return m_bytes.read8(position); }

    // Bytes from `position` up to the first zero byte, at most `limit` bytes and never past
    // the block's end; none when `position` itself lies outside.
    std::optional<std::string> textAt(int64_t position, int64_t limit) const;

  private:
    MemoryByteSource m_memory;  // the bytes of a block held in memory; empty otherwise
    TiffBytes m_bytes;
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
