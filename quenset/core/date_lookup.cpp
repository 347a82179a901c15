#include "core/date_lookup.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/buffered_byte_source.h"
#include "core/movie_date.h"
#include "core/picture_container.h"
#include "core/tiff_entries.h"

namespace corvelle {

namespace {

constexpr uint16_t kTagDateTimeOriginal = 0x9003;
constexpr uint16_t kTagDateTimeDigitized = 0x9004;
constexpr uint16_t kTagDateTime = 0x0132;
constexpr uint16_t kTagExifPointer = 0x8769;

// Where each date tag goes, best first.
constexpr std::array<uint16_t, 3> kDateTagsByPreference{kTagDateTimeOriginal, kTagDateTimeDigitized,
                                                        kTagDateTime};

// A file that is not a TIFF by its first bytes is still searched in its opening bytes.
constexpr uint64_t kHeadOfForeignFile = 10240;
// A date text has 19 characters: the start of a longer one holds all the date it can give,
// so only that much of a text is kept, however far away its closing zero lies.
constexpr size_t kMaxDateText = 256;
constexpr size_t kScanChunk = 4096;
// The dates lie in the first directories, a kilobyte or two into a camera's EXIF block: a
// head this long holds them in all but odd files, and copying more would cost every file.
constexpr size_t kDateLookupHead = 16 * 1024;
// The walk meets IFD0 and the EXIF directory; a chain of more pointers is not a picture's.
constexpr size_t kMaxDirectories = 16;

// The TIFF data, a stretch of the file, and the rule for the date texts in it.
class TiffData {
  public:
    TiffData(const ByteSource& file, uint64_t base, uint64_t length) : m_bytes(file, base, length) {}

    TiffBytes& bytes() { return m_bytes; }

    // The zero-terminated text at the offset, its first kMaxDateText characters at most;
    // empty when no zero comes before the data end.
    std::string textAt(uint64_t offset) const {
        const uint64_t length = uint64_t(m_bytes.size());
        if (offset >= length) return {};
        uint8_t bytes[kMaxDateText];
        const size_t want = size_t(std::min<uint64_t>(sizeof bytes, length - offset));
        if (!m_bytes.read(int64_t(offset), std::span(bytes, want))) return {};
        const uint8_t* end = std::find(bytes, bytes + want, uint8_t(0));
        if (end == bytes + want && !zeroAtOrAfter(offset + want)) return {};
        return std::string(reinterpret_cast<const char*>(bytes), size_t(end - bytes));
    }

  private:
    // Whether a zero byte lies at or after the offset. The data's last zero is looked for
    // once, backwards from the end, so many long texts cost no more than one.
    bool zeroAtOrAfter(uint64_t offset) const {
        if (!m_lastZeroSought) {
            m_lastZeroSought = true;
            uint8_t chunk[kScanChunk];
            for (uint64_t end = uint64_t(m_bytes.size()); end > 0 && !m_lastZero;) {
                const size_t take = size_t(std::min<uint64_t>(sizeof chunk, end));
                if (!m_bytes.read(int64_t(end - take), std::span(chunk, take))) break;
                for (size_t i = take; i-- > 0;) {
                    if (chunk[i] == 0) {
                        m_lastZero = end - take + i;
                        break;
                    }
                }
                end -= take;
            }
        }
        return m_lastZero && *m_lastZero >= offset;
    }

    TiffBytes m_bytes;
    mutable bool m_lastZeroSought = false;
    mutable std::optional<uint64_t> m_lastZero;
};

uint16_t BigEndian16(const uint8_t* b) { return uint16_t(b[0] << 8 | b[1]); }

// The stretch of a JPEG file that holds the TIFF data of its first APP1 segment, which
// must be EXIF data.
std::optional<TiffData> FindJpegTiffData(const ByteSource& file) {
    uint8_t start[2];
    if (file.readAt(0, start) != 2 || start[0] != 0xFF || start[1] != 0xD8) return std::nullopt;
    uint64_t position = 2;
    for (;;) {
        uint8_t marker[2];
        if (file.readAt(position, marker) != 2) return std::nullopt;
        position += 2;
        if (marker[0] == 0xFF && marker[1] == 0xE1) break;
        uint8_t length[2];
        if (file.readAt(position, length) != 2) return std::nullopt;
        // A length below its own two bytes would step backwards: the scan would never end.
        const uint16_t segmentLength = BigEndian16(length);
        if (segmentLength < 2) return std::nullopt;
        position += segmentLength;
    }
    uint8_t header[8];
    if (file.readAt(position, header) != sizeof header) return std::nullopt;
    static constexpr uint8_t kExifId[] = {'E', 'x', 'i', 'f', 0};
    if (!std::equal(std::begin(kExifId), std::end(kExifId), header + 2)) return std::nullopt;
    const uint16_t segmentLength = BigEndian16(header);
    if (segmentLength < sizeof header) return std::nullopt;
    const uint64_t base = position + sizeof header;
    const uint64_t available = file.size() > base ? file.size() - base : 0;
    return TiffData(file, base, std::min<uint64_t>(segmentLength - sizeof header, available));
}

TiffData FindTiffStructuredData(const ByteSource& file) {
    uint8_t order[2] = {0, 0};
    file.readAt(0, order);
    const bool isTiff =
        (order[0] == 'M' && order[1] == 'M') || (order[0] == 'I' && order[1] == 'I');
    return TiffData(file, 0, isTiff ? file.size() : std::min(file.size(), kHeadOfForeignFile));
}

using DateSlots = std::array<std::string, kDateTagsByPreference.size()>;

// Fills the date slots that are still empty from the directories of one TIFF structure.
void CollectDateTexts(TiffData& data, DateSlots& found) {
    TiffBytes& tiff = data.bytes();
    uint8_t header[8];
    if (!tiff.read(0, header)) return;
    tiff.setBigEndian(header[0] == 'M' && header[1] == 'M');
    if (!IsTiffMagic(tiff.get16(header + 2))) return;

    DateSlots slots;
    TiffDirectoryTrail trail(kMaxDirectories);
    std::optional<uint32_t> next = tiff.get32(header + 4);
    while (next && slots[0].empty() && found[0].empty()) {
        const uint32_t directory = *next;
        next.reset();
        if (!trail.enter(directory)) break;
        const std::optional<uint16_t> count = tiff.read16(directory);
        if (!count || *count == 0) break;
        // A later entry of the same tag wins, so each text is read once, after the directory.
        // Entries that lie outside the data are dropped; those before them count.
        std::array<std::optional<uint32_t>, kDateTagsByPreference.size()> textOffsets;
        WalkTiffDirectory(tiff, directory, [&](const TiffEntry& entry) {
            const uint32_t value = tiff.get32(entry.valueField.data());
            if (entry.tag == kTagExifPointer) next = value;
            for (size_t slot = 0; slot < slots.size(); ++slot)
                if (entry.tag == kDateTagsByPreference[slot]) textOffsets[slot] = value;
            return true;
        });
        for (size_t slot = 0; slot < slots.size(); ++slot)
            if (textOffsets[slot]) slots[slot] = data.textAt(*textOffsets[slot]);
    }
    for (size_t slot = 0; slot < slots.size(); ++slot)
        if (found[slot].empty()) found[slot] = slots[slot];
}

std::string BestDateText(const DateSlots& slots) {
    for (const std::string& slot : slots)
        if (!slot.empty()) return slot;
    return {};
}

std::string DateTextOfTiff(TiffData& data) {
    DateSlots slots;
    CollectDateTexts(data, slots);
    return BestDateText(slots);
}

// PNG, WebP, HEIF and CR3 files keep their TIFF structures in chunks or boxes; a CR3's
// main directory and EXIF directory are two of them, read as one walk would read them.
// An MP4 or QuickTime movie has none and is dated by its own rule.
std::string DateTextOfContainer(const ByteSource& file, PictureContainer container) {
    const std::vector<ByteRange> structures = FindContainerExif(file, container);
    if (structures.empty())
        return container == PictureContainer::kIsoMedia ? MovieShootingDateText(file)
                                                        : std::string();
    DateSlots slots;
    for (const ByteRange& range : structures) {
        TiffData data(file, range.offset, range.length);
        CollectDateTexts(data, slots);
    }
    return BestDateText(slots);
}

}  // namespace

bool NameIsJpeg(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = fileName.substr(dot);
    static constexpr std::string_view kJpeg = ".jpg";
    if (extension.size() != kJpeg.size()) return false;
    for (size_t i = 0; i < kJpeg.size(); ++i) {
        const char c = extension[i];
        if ((c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c) != kJpeg[i]) return false;
    }
    return true;
}

std::string ShootingDateText(const ByteSource& file, bool isJpeg) {
    if (!isJpeg) {
        const PictureContainer container = SniffPictureContainer(file);
        if (KeepsExifInChunks(container)) return DateTextOfContainer(file, container);
    }
    std::optional<TiffData> data =
        isJpeg ? FindJpegTiffData(file) : std::optional<TiffData>(FindTiffStructuredData(file));
    return data ? DateTextOfTiff(*data) : std::string();
}

std::unique_ptr<ByteSource> OpenRegularFileAt(int dirFd, const std::string& name) {
    return FileByteSource::openAt(dirFd, name);
}

std::string ShootingDateTextOfFile(int dirFd, const std::string& fileName,
                                   const FileOpener& open) {
    std::unique_ptr<ByteSource> file = open(dirFd, fileName);
    if (!file) return {};
    const HeadBufferedSource buffered(std::move(file), kDateLookupHead);
    // Older cameras' QuickTime movies have no "ftyp" box; their "moov" dates them.
    if (StartsLikeQuickTimeMovie(buffered)) return MovieShootingDateText(buffered);
    return ShootingDateText(buffered, NameIsJpeg(fileName));
}

}  // namespace corvelle
