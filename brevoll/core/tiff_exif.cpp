#include "core/tiff_exif.h"

#include <algorithm>
#include <memory>

#include "core/tiff_entries.h"

namespace corvelle {

namespace {

constexpr uint16_t kExifPointer = 0x8769;
constexpr uint16_t kGpsPointer = 0x8825;
constexpr uint16_t kInteropPointer = 0xA005;
constexpr uint16_t kLong = 4;
// No entry of a picture's description is larger; a larger one is no EXIF value of ours.
constexpr int64_t kLargestValue = 1 << 20;
constexpr size_t kMostEntries = 1000;

// The first directory's entries that describe the picture rather than lay out its pixels.
constexpr uint16_t kDescribing[] = {
    0x010E,  // ImageDescription
    0x010F,  // Make
    0x0110,  // Model
    0x0112,  // Orientation
    0x011A,  // XResolution
    0x011B,  // YResolution
    0x0128,  // ResolutionUnit
    0x0131,  // Software
    0x0132,  // DateTime
    0x013B,  // Artist
    0x8298,  // Copyright
};

struct Directory;

struct Entry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::vector<uint8_t> data;         // as the file holds them, in its byte order
    std::unique_ptr<Directory> child;  // a pointer entry's directory
};

struct Directory {
    std::vector<Entry> entries;
};

class Reader {
  public:
    explicit Reader(const TiffBytes& bytes) : m_bytes(bytes), m_trail(8) {}

    // The directory at position, keeping the entries keep(tag) allows; a pointer entry
    // whose tag childOf names is followed.
    template <typename Keep, typename ChildOf>
    std::unique_ptr<Directory> read(int64_t position, Keep keep, ChildOf childOf) {
        if (!m_trail.enter(position)) return nullptr;
        auto directory = std::make_unique<Directory>();
        WalkTiffDirectory(m_bytes, position, [&](const TiffEntry& found) {
            if (directory->entries.size() >= kMostEntries) return false;
            if (!keep(found.tag)) return true;
            Entry entry{found.tag, found.type, found.count, {}, nullptr};
            if (childOf(found.tag)) {
                const auto offset = m_bytes.get32(found.valueField.data());
                entry.child = childFor(found.tag, int64_t(offset));
                if (entry.child) directory->entries.push_back(std::move(entry));
                return true;
            }
            const int64_t length = TiffDataLength(found);
            if (TiffTypeSize(found.type) == 0 || length > kLargestValue) return true;
            entry.data.resize(size_t(length));
            if (!m_bytes.read(TiffDataPosition(m_bytes, found, 0), entry.data)) return true;
            directory->entries.push_back(std::move(entry));
            return true;
        });
        return directory;
    }

  private:
    std::unique_ptr<Directory> childFor(uint16_t tag, int64_t position) {
        auto all = [](uint16_t) { return true; };
        if (tag == kExifPointer)
            return read(position, all, [](uint16_t t) { return t == kInteropPointer; });
        return read(position, all, [](uint16_t) { return false; });
    }

    const TiffBytes& m_bytes;
    TiffDirectoryTrail m_trail;
};

class Writer {
  public:
    explicit Writer(bool bigEndian) : m_big(bigEndian) {}

    std::vector<uint8_t> write(const Directory& first) {
        m_out = {uint8_t(m_big ? 'M' : 'I'), uint8_t(m_big ? 'M' : 'I'), 0, 0, 0, 0, 0, 0};
        put16(2, 42);
        put32(4, 8);
        place(first);
        return std::move(m_out);
    }

  private:
    // Lays the directory out at the end, then its large values and its children; returns
    // where it starts.
    uint32_t place(const Directory& directory) {
        std::vector<const Entry*> entries;
        for (const Entry& entry : directory.entries) entries.push_back(&entry);
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry* a, const Entry* b) { return a->tag < b->tag; });
        const size_t start = m_out.size();
        m_out.resize(start + 2 + kTiffEntrySize * entries.size() + 4, 0);
        put16(start, uint16_t(entries.size()));
        for (size_t i = 0; i < entries.size(); ++i) {
            const Entry& entry = *entries[i];
            const size_t at = start + 2 + size_t(kTiffEntrySize) * i;
            put16(at, entry.tag);
            put16(at + 2, entry.child ? kLong : entry.type);
            put32(at + 4, entry.child ? 1 : entry.count);
            if (entry.child) {
                const uint32_t child = place(*entry.child);
                put32(at + 8, child);
            } else if (entry.data.size() <= 4) {
                std::copy(entry.data.begin(), entry.data.end(), m_out.begin() + long(at + 8));
            } else {
                if (m_out.size() % 2 != 0) m_out.push_back(0);  // values start on a word
                put32(at + 8, uint32_t(m_out.size()));
                m_out.insert(m_out.end(), entry.data.begin(), entry.data.end());
            }
        }
        return uint32_t(start);
    }

    void put16(size_t at, uint16_t v) {
        m_out[at] = uint8_t(m_big ? v >> 8 : v);
        m_out[at + 1] = uint8_t(m_big ? v : v >> 8);
    }
    void put32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            m_out[at + size_t(i)] = uint8_t(v >> (m_big ? 24 - 8 * i : 8 * i));
    }

    bool m_big;
    std::vector<uint8_t> m_out;
};

}  // namespace

std::vector<uint8_t> ExifOfTiffPicture(const ByteSource& file) {
    TiffBytes bytes(file);
    if (!bytes.readByteOrderMark() || bytes.read16(2) != 42) return {};
    const auto first = bytes.read32(4);
    if (!first) return {};
    Reader reader(bytes);
    const auto directory = reader.read(
        int64_t(*first),
        [](uint16_t tag) {
            return tag == kExifPointer || tag == kGpsPointer ||
                   std::find(std::begin(kDescribing), std::end(kDescribing), tag) !=
                       std::end(kDescribing);
        },
        [](uint16_t tag) { return tag == kExifPointer || tag == kGpsPointer; });
    if (!directory || directory->entries.empty()) return {};
    return Writer(bytes.bigEndian()).write(*directory);
}

}  // namespace corvelle
