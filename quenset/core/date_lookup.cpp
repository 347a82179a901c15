#include "core/date_lookup.h"

#include <algorithm>
#include <array>
#include <optional>

#include "core/buffered_byte_source.h"
#include "core/exif_locator.h"
#include "core/movie_date.h"
#include "core/picture_container.h"
#include "core/picture_types.h"
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

// The TIFF structures are walked one after the other, as one walk would read them (a
// CR3's main directory and EXIF directory are two of them).
std::string DateTextOfStructures(const ByteSource& file,
                                 const std::vector<ExifStructure>& structures) {
    DateSlots slots;
    for (const ExifStructure& structure : structures) {
        const ExifStructureSource bytes(file, structure);
        TiffData data(bytes, 0, bytes.size());
        CollectDateTexts(data, slots);
    }
    return BestDateText(slots);
}

}  // namespace

std::string ShootingDateText(const ByteSource& file, bool isJpeg) {
    PictureContainer readAs = PictureContainer::kJpeg;
    if (!isJpeg) {
        const PictureContainer sniffed = SniffPictureContainer(file);
        readAs = KeepsExifInChunks(sniffed) ? sniffed : PictureContainer::kTiff;
    }
    const std::vector<ExifStructure> structures = LocateExif(file, readAs, kHeadOfForeignFile);
    // An MP4 or QuickTime movie has no EXIF data and is dated by its own rule.
    if (structures.empty() && readAs == PictureContainer::kIsoMedia)
        return MovieShootingDateText(file);
    return DateTextOfStructures(file, structures);
}

std::unique_ptr<ByteSource> OpenRegularFileAt(int dirFd, const std::string& name) {
    return FileByteSource::openAt(dirFd, name);
}

std::string ShootingDateTextOfFile(int dirFd, const std::string& fileName,
                                   const FileOpener& open) {
    std::unique_ptr<ByteSource> file = open(dirFd, fileName);
    if (!file) return {};
    // The dates lie in the first directories, a kilobyte or two into a camera's EXIF block.
    const HeadBufferedSource buffered(std::move(file));
    // Older cameras' QuickTime movies have no "ftyp" box; their "moov" dates them.
    if (StartsLikeQuickTimeMovie(buffered)) return MovieShootingDateText(buffered);
    return ShootingDateText(buffered, PictureTypeOfName(fileName) == PictureType::kJpeg);
}

}  // namespace corvelle
