#include "core/decoding/raw_preview.h"

#include <algorithm>
#include <deque>

#include "core/picture_container.h"
#include "core/tiff_entries.h"

namespace corvelle {

namespace {

constexpr uint16_t kTagCompression = 0x0103;
constexpr uint16_t kTagStripOffsets = 0x0111;
constexpr uint16_t kTagStripByteCounts = 0x0117;
constexpr uint16_t kTagSubDirectories = 0x014A;
constexpr uint16_t kTagJpegOffset = 0x0201;
constexpr uint16_t kTagJpegLength = 0x0202;
constexpr uint16_t kTagPanasonicJpeg = 0x002E;
// Raw files have a handful of directories; sub-directory lists longer than this are not.
constexpr size_t kMaxDirectories = 64;
constexpr uint32_t kMaxSubDirectories = 16;

struct DirectoryPictures {
    std::optional<uint32_t> jpegOffset, jpegLength, stripOffset, stripLength;
    uint32_t compression = 1;
};

bool StartsAsJpeg(const TiffBytes& tiff, int64_t position) {
    uint8_t start[2];
    return tiff.read(position, start) && start[0] == 0xFF && start[1] == 0xD8;
}

void AddIfJpeg(const TiffBytes& tiff, int64_t position, int64_t length,
               std::vector<ByteRange>& found) {
    if (length < 4 || !tiff.contains(position, length) || !StartsAsJpeg(tiff, position)) return;
    found.push_back({uint64_t(position), uint64_t(length)});
}

// A SHORT or LONG entry's first number.
uint32_t FirstNumber(const TiffBytes& tiff, const TiffEntry& entry) {
    return entry.type == 3 ? tiff.get16(entry.valueField.data())
                           : tiff.get32(entry.valueField.data());
}

}  // namespace

std::vector<ByteRange> EmbeddedJpegPictures(const ByteSource& file) {
    std::vector<ByteRange> found;
    TiffBytes tiff(file);
    if (!tiff.readByteOrderMark()) return found;
    const auto magic = tiff.read16(2);
    const auto first = tiff.read32(4);
    if (!magic || !IsTiffMagic(*magic) || !first) return found;

    TiffDirectoryTrail trail(kMaxDirectories);
    std::deque<int64_t> pending = {*first};
    while (!pending.empty()) {
        const int64_t directory = pending.front();
        pending.pop_front();
        if (!trail.enter(directory)) continue;
        DirectoryPictures pictures;
        const auto link = WalkTiffDirectory(tiff, directory, [&](const TiffEntry& entry) {
            switch (entry.tag) {
                case kTagCompression:
                    pictures.compression = FirstNumber(tiff, entry);
                    break;
                case kTagJpegOffset:
                    pictures.jpegOffset = FirstNumber(tiff, entry);
                    break;
                case kTagJpegLength:
                    pictures.jpegLength = FirstNumber(tiff, entry);
                    break;
                case kTagStripOffsets:
                    if (entry.count == 1) pictures.stripOffset = FirstNumber(tiff, entry);
                    break;
                case kTagStripByteCounts:
                    if (entry.count == 1) pictures.stripLength = FirstNumber(tiff, entry);
                    break;
                case kTagPanasonicJpeg:
                    AddIfJpeg(tiff, TiffDataPosition(tiff, entry, 0), TiffDataLength(entry), found);
                    break;
                case kTagSubDirectories: {
                    const int64_t at = TiffDataPosition(tiff, entry, 0);
                    for (uint32_t i = 0; i < std::min(entry.count, kMaxSubDirectories); ++i)
                        if (const auto sub = tiff.read32(at + 4 * int64_t(i)))
                            pending.push_back(*sub);
                    break;
                }
                default:
                    break;
            }
            return true;
        });
        if (pictures.jpegOffset && pictures.jpegLength)
            AddIfJpeg(tiff, *pictures.jpegOffset, *pictures.jpegLength, found);
        // Old-style (6) and new-style (7) JPEG compression: a single strip is a JPEG file.
        if ((pictures.compression == 6 || pictures.compression == 7) && pictures.stripOffset &&
            pictures.stripLength)
            AddIfJpeg(tiff, *pictures.stripOffset, *pictures.stripLength, found);
        if (link)
            if (const auto next = tiff.read32(*link); next && *next != 0) pending.push_back(*next);
    }
    std::sort(found.begin(), found.end(), [](const ByteRange& a, const ByteRange& b) {
        return a.length != b.length ? a.length > b.length : a.offset < b.offset;
    });
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

}  // namespace corvelle
