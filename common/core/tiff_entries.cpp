#include "core/tiff_entries.h"

#include <algorithm>

namespace corvelle {

namespace {

// Entries are read this many at a time: one read for a whole ordinary directory, and a
// bounded buffer for a hostile one that claims 65,535 entries.
constexpr int64_t kEntriesPerRead = 64;

}  // namespace

TiffBytes::TiffBytes(const ByteSource& source, uint64_t base, uint64_t length)
    : m_source(source),
      m_base(base),
      m_length(int64_t(base > source.size() ? 0 : std::min(length, source.size() - base))) {}

bool TiffBytes::readByteOrderMark() {
    uint8_t mark[2];
    if (!read(0, mark) || mark[0] != mark[1] || (mark[0] != 'M' && mark[0] != 'I')) return false;
    m_bigEndian = mark[0] == 'M';
    return true;
}

bool TiffBytes::read(int64_t position, std::span<uint8_t> out) const {
    if (!contains(position, int64_t(out.size()))) return false;
    return m_source.readAt(m_base + uint64_t(position), out) == out.size();
}

std::optional<uint8_t> TiffBytes::read8(int64_t position) const {
    uint8_t byte;
    if (!read(position, std::span(&byte, 1))) return std::nullopt;
    return byte;
}

std::optional<uint16_t> TiffBytes::read16(int64_t position) const {
    uint8_t b[2];
    if (!read(position, b)) return std::nullopt;
    return get16(b);
}

std::optional<uint32_t> TiffBytes::read32(int64_t position) const {
    uint8_t b[4];
    if (!read(position, b)) return std::nullopt;
    return get32(b);
}

uint16_t TiffBytes::get16(const uint8_t* b) const {
    return m_bigEndian ? uint16_t(b[0] << 8 | b[1]) : uint16_t(b[1] << 8 | b[0]);
}

uint32_t TiffBytes::get32(const uint8_t* b) const {
    return m_bigEndian ? uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]
                       : uint32_t(b[3]) << 24 | uint32_t(b[2]) << 16 | uint32_t(b[1]) << 8 | b[0];
}

void TiffBytes::put16(uint8_t* b, uint16_t value) const {
    b[m_bigEndian ? 0 : 1] = uint8_t(value >> 8);
    b[m_bigEndian ? 1 : 0] = uint8_t(value & 0xFF);
}

int TiffTypeSize(uint16_t type) {
    // BYTE ASCII SHORT LONG RATIONAL SBYTE UNDEFINED SSHORT SLONG SRATIONAL FLOAT DOUBLE
    static constexpr uint8_t kSizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};
    return type < std::size(kSizes) ? kSizes[type] : 0;
}

int64_t TiffDataLength(const TiffEntry& entry) {
    return int64_t{entry.count} * TiffTypeSize(entry.type);
}

int64_t TiffDataPosition(const TiffBytes& bytes, const TiffEntry& entry, int64_t base) {
    if (TiffDataLength(entry) <= 4) return entry.valueFieldPosition();
    return base + bytes.get32(entry.valueField.data());
}

namespace {

TiffEntry DecodeEntry(const TiffBytes& bytes, const uint8_t* stored, int64_t position) {
    TiffEntry entry;
    entry.position = position;
    entry.tag = bytes.get16(stored);
    entry.type = bytes.get16(stored + 2);
    entry.count = bytes.get32(stored + 4);
    std::copy(stored + 8, stored + 12, entry.valueField.begin());
    return entry;
}

}  // namespace

std::optional<TiffEntry> ReadTiffEntry(const TiffBytes& bytes, int64_t position) {
    uint8_t stored[kTiffEntrySize];
    if (!bytes.read(position, stored)) return std::nullopt;
    return DecodeEntry(bytes, stored, position);
}

std::optional<int64_t> WalkTiffDirectory(const TiffBytes& bytes, int64_t position,
                                         const std::function<bool(const TiffEntry&)>& visit) {
    const std::optional<uint16_t> count = bytes.read16(position);
    if (!count) return std::nullopt;
    const int64_t first = position + 2;
    const int64_t room = bytes.contains(first, 0) ? bytes.size() - first : 0;
    const int64_t usable = std::min<int64_t>(*count, room / kTiffEntrySize);
    uint8_t batch[kEntriesPerRead * kTiffEntrySize];
    for (int64_t done = 0; done < usable;) {
        const int64_t take = std::min(kEntriesPerRead, usable - done);
        const int64_t at = first + done * kTiffEntrySize;
        if (!bytes.read(at, std::span(batch, size_t(take * kTiffEntrySize)))) break;
        for (int64_t i = 0; i < take; ++i) {
            const int64_t entryAt = at + i * kTiffEntrySize;
            if (!visit(DecodeEntry(bytes, batch + i * kTiffEntrySize, entryAt)))
                return first + kTiffEntrySize * *count;
        }
        done += take;
    }
    return first + kTiffEntrySize * *count;
}

bool TiffDirectoryTrail::enter(int64_t position) {
    if (m_entered.size() >= m_limit) return false;
    return m_entered.insert(position).second;
}

}  // namespace corvelle
