#pragma once

// Builders for the pictures tests feed to the programs: TIFF structures with nested
// directories in either byte order, JPEG files with APP1 "Exif" segments, and small JPEGs
// encoded by libjpeg.
//
//   TiffDirectory exif;
//   exif.ascii(0x9003, "2004:03:15 14:25:30").rationals(0x829A, {{1, 125}});
//   TiffDirectory ifd0;
//   ifd0.ascii(0x010F, "NIKON").subDirectory(0x8769, exif);
//   auto jpeg = InsertAfterSoi(EncodeTestJpeg(64, 48), {ExifSegment(BuildTiff(ifd0, kBig))});

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace corvelle::testing {

enum class ByteOrder { Little, Big };
inline constexpr ByteOrder kLittle = ByteOrder::Little;
inline constexpr ByteOrder kBig = ByteOrder::Big;

enum TiffType : uint16_t {
    kByte = 1,
    kAscii = 2,
    kShort = 3,
    kLong = 4,
    kRational = 5,
    kSByte = 6,
    kUndefined = 7,
    kSShort = 8,
    kSLong = 9,
    kSRational = 10,
};

int TiffTypeSize(uint16_t type);

class TiffDirectory;

// One 12-byte entry. Values are kept typed and written in the directory's byte order;
// values over four bytes go to a data area after the directory, as cameras write them.
struct TiffEntry {
    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::vector<uint64_t> numbers;  // one per item (two per rational: numerator, denominator)
    std::vector<uint8_t> bytes;     // BYTE, ASCII, UNDEFINED items as they are
    // A nested directory: the entry is a LONG holding the directory's offset.
    std::shared_ptr<TiffDirectory> directory;
    // Bytes that depend on where they land (offset from the TIFF header), such as maker
    // notes whose inner offsets count from the header.
    std::function<std::vector<uint8_t>(uint32_t offset)> placed;
    // A value field written as it is, for entries that lie about their data.
    bool rawValueField = false;
    uint32_t valueField = 0;
};

class TiffDirectory {
public:
    TiffDirectory& ascii(uint16_t tag, const std::string& text);  // adds the closing zero
    TiffDirectory& asciiExact(uint16_t tag, const std::string& bytes);  // no zero added
    TiffDirectory& shorts(uint16_t tag, std::vector<uint16_t> values);
    TiffDirectory& sshorts(uint16_t tag, std::vector<int16_t> values);
    TiffDirectory& longs(uint16_t tag, std::vector<uint32_t> values);
    TiffDirectory& slongs(uint16_t tag, std::vector<int32_t> values);
    TiffDirectory& rationals(uint16_t tag, std::vector<std::pair<uint32_t, uint32_t>> values);
    TiffDirectory& srationals(uint16_t tag, std::vector<std::pair<int32_t, int32_t>> values);
    TiffDirectory& bytes(uint16_t tag, uint16_t type, std::vector<uint8_t> data);
    TiffDirectory& subDirectory(uint16_t tag, const TiffDirectory& directory);
    TiffDirectory& placedBytes(uint16_t tag, uint16_t type, uint32_t count,
                               std::function<std::vector<uint8_t>(uint32_t offset)> make);
    TiffDirectory& raw(uint16_t tag, uint16_t type, uint32_t count, uint32_t valueField);
    // The directory that follows this one (IFD1 with the thumbnail, say).
    TiffDirectory& next(const TiffDirectory& directory);

    const std::vector<TiffEntry>& entries() const { return m_entries; }
    const std::shared_ptr<TiffDirectory>& nextDirectory() const { return m_next; }

private:
    std::vector<TiffEntry> m_entries;
    std::shared_ptr<TiffDirectory> m_next;
};

// A whole TIFF structure: "II"/"MM", 42, first directory at 8, then everything the
// directories point at. Entries are written in the order they were added.
std::vector<uint8_t> BuildTiff(const TiffDirectory& first, ByteOrder order);
// Only the directory and what it points at, laid out as if the directory began at
// `start` bytes after the base its offsets count from (for maker notes: an IFD that
// counts its offsets from the note's start or from the TIFF header).
std::vector<uint8_t> BuildDirectoryAt(const TiffDirectory& directory, ByteOrder order,
                                      uint32_t start);

// FF E1, length, "Exif\0\0", the TIFF bytes.
std::vector<uint8_t> ExifSegment(const std::vector<uint8_t>& tiff);
// Any marker segment: FF marker, big-endian length (payload + 2), payload.
std::vector<uint8_t> JpegSegment(uint8_t marker, const std::vector<uint8_t>& payload);
// The segments placed right after the JPEG's start-of-image marker, in the order given.
std::vector<uint8_t> InsertAfterSoi(const std::vector<uint8_t>& jpeg,
                                    const std::vector<std::vector<uint8_t>>& segments);

// A small JPEG made with libjpeg: colour (3 components) or gray (1), a smooth pattern
// unless a pixel function is given (x, y) -> RGB packed 0xRRGGBB (gray takes the low byte).
// JFIF density unit and densities as given.
struct TestJpegOptions {
    int components = 3;
    int quality = 90;
    int densityUnit = 1;
    int xDensity = 72;
    int yDensity = 72;
    std::function<uint32_t(int x, int y)> pixel;
};
std::vector<uint8_t> EncodeTestJpeg(int width, int height, const TestJpegOptions& options = {});
// A four-component JPEG of one ink, the way Adobe applications store CMYK (inverted, with
// their marker), or converted to YCCK by the encoder.
std::vector<uint8_t> EncodeCmykJpeg(int width, int height, const uint8_t ink[4],
                                    bool asYcck = false);

}  // namespace corvelle::testing
