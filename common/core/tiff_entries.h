#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <unordered_set>

#include "core/byte_source.h"

namespace corvelle {

// A TIFF structure (EXIF data, a raw file): a stretch of bytes whose numbers are in the byte
// order its header names, and whose offsets count from the stretch's first byte. Positions
// are signed 64-bit, so that one computed from hostile numbers (a base below the header, an
// offset past the end) is simply outside instead of wrapping. Every read is bounded.
class TiffBytes {
  public:
    // `length` bytes of the source from `base` (the rest of the source when longer).
    TiffBytes(const ByteSource& source, uint64_t base, uint64_t length);
    explicit TiffBytes(const ByteSource& source) : TiffBytes(source, 0, source.size()) {}

    int64_t size() const { return m_length; }
    bool contains(int64_t position, int64_t length) const {
        return position >= 0 && length >= 0 && position <= m_length &&
               length <= m_length - position;
    }

    bool bigEndian() const { return m_bigEndian; }
    void setBigEndian(bool big) { m_bigEndian = big; }
    // Takes the byte order from an "MM" or "II" mark at the start; false for anything else.
    bool readByteOrderMark();

    // All of `out` from the position, or false (nothing usable) when it does not lie inside.
    bool read(int64_t position, std::span<uint8_t> out) const;
    std::optional<uint8_t> read8(int64_t position) const;
    std::optional<uint16_t> read16(int64_t position) const;
    std::optional<uint32_t> read32(int64_t position) const;

    // Numbers from bytes already in hand, in this structure's byte order.
    uint16_t get16(const uint8_t* bytes) const;
    uint32_t get32(const uint8_t* bytes) const;
    // The number into bytes the caller holds, in this structure's byte order.
    void put16(uint8_t* bytes, uint16_t value) const;

  private:
    const ByteSource& m_source;
    uint64_t m_base;
    int64_t m_length;
    bool m_bigEndian = false;
};

inline constexpr int64_t kTiffEntrySize = 12;

// One 12-byte directory entry as it is stored.
struct TiffEntry {
    int64_t position = 0;  // of the entry's first byte
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::array<uint8_t, 4> valueField{};  // as the file holds them

    int64_t valueFieldPosition() const { return position + 8; }
};

// Bytes one item of a TIFF type (1..12) takes; 0 for types TIFF does not define.
int TiffTypeSize(uint16_t type);
// count x item size; 64-bit, so no count wraps it.
int64_t TiffDataLength(const TiffEntry& entry);
// Where the entry's data lie: in its value field when they fit in four bytes, else at
// base + the 32-bit offset the value field holds.
int64_t TiffDataPosition(const TiffBytes& bytes, const TiffEntry& entry, int64_t base);

// The entry at the position; none unless all twelve bytes lie inside.
std::optional<TiffEntry> ReadTiffEntry(const TiffBytes& bytes, int64_t position);

// Hands the entries of the directory at `position` to the visitor in order, as long as
// they lie whole inside the bytes; the visitor stops the walk by returning false. Returns
// where the directory's link to the next one lies (position + 2 + 12 x count, whether or
// not all entries were there); none when the entry count cannot be read.
std::optional<int64_t> WalkTiffDirectory(const TiffBytes& bytes, int64_t position,
                                         const std::function<bool(const TiffEntry&)>& visit);

// The directories a chain of pointers has entered: a pointer back to one of them ends the
// chain, and so does a chain longer than any picture's.
class TiffDirectoryTrail {
  public:
    explicit TiffDirectoryTrail(size_t limit) : m_limit(limit) {}
    // True the first time a directory is entered while the limit allows.
    bool enter(int64_t position);
    size_t size() const { return m_entered.size(); }

  private:
    size_t m_limit;
    std::unordered_set<int64_t> m_entered;
};

}  // namespace corvelle
