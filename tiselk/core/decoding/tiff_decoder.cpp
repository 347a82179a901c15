#include "core/decoding/tiff_decoder.h"

#include <algorithm>
#include <vector>

#include "core/decoding/tiff_codec.h"
#include "core/decoding/tiff_directory.h"
#include "core/decoding/tiff_pixels.h"

namespace corvelle {

namespace {

// More strips or tiles than any sensible picture has (a gigabyte of 256 x 256 tiles has
// some 16,000); keeps the directory handed to libtiff small.
constexpr uint64_t kMaxPieces = uint64_t(1) << 22;

uint64_t CeilDiv(uint64_t a, uint64_t b) { return (a + b - 1) / b; }

// Strips are the special case of tiles as wide as the picture.
struct PieceGrid {
    uint32_t pieceWidth = 0;
    uint32_t pieceRows = 0;
    uint64_t across = 0;
    uint64_t down = 0;
};

PieceGrid GridOf(const TiffImageDescription& d) {
    PieceGrid grid;
    grid.pieceWidth = d.tiled() ? d.tileWidth : d.width;
    grid.pieceRows = d.tiled() ? d.tileLength : d.stripRows();
    grid.across = CeilDiv(d.width, grid.pieceWidth);
    grid.down = CeilDiv(d.height, grid.pieceRows);
    return grid;
}

// How many bytes of piece i to hand to the decompressor: its byte count when the file gives
// one, but never more than its coding can use nor more than the source holds. No coding
// here spends more than eight bits of code per bit of picture plus a little per row, so
// lying byte counts cannot make every piece read the whole file.
uint32_t RawLength(const TiffImageDescription& d, const std::vector<uint32_t>& offsets,
                   const std::vector<uint32_t>& byteCounts, size_t i, uint64_t decodedBytes,
                   uint64_t sourceSize) {
    if (offsets[i] >= sourceSize) return 0;
    const uint64_t most = d.compression == 1 ? decodedBytes : decodedBytes * 8 + 4096;
    uint64_t length = i < byteCounts.size() && byteCounts[i] != 0 ? byteCounts[i] : most;
    length = std::min({length, most, sourceSize - offsets[i]});
    return static_cast<uint32_t>(std::min<uint64_t>(length, UINT32_MAX));
}

}  // namespace

std::optional<PackedDib> DecodeTiff(ByteSource& source, const PictureLimits& limits) {
    const auto description = ReadTiffDescription(source);
    if (!description) return std::nullopt;
    const TiffImageDescription& d = *description;
    const auto layout = ChooseTiffPixelLayout(d);
    if (!layout) return std::nullopt;

    const int width = static_cast<int>(d.width);
    const int height = static_cast<int>(d.height);
    if (!limits.allows(d.width, d.height, layout->bitCount)) return std::nullopt;
    const PieceGrid grid = GridOf(d);
    const uint64_t pieceRowBytes = layout->rowBytes(grid.pieceWidth);
    const uint64_t pieceBytes = pieceRowBytes * grid.pieceRows;
    if (pieceBytes > limits.maxWorkingBytes) return std::nullopt;

    const auto& offsets = d.tiled() ? d.tileOffsets : d.stripOffsets;
    const auto& byteCounts = d.tiled() ? d.tileByteCounts : d.stripByteCounts;
    const uint64_t present = std::min<uint64_t>(offsets.size(), grid.across * grid.down);
    if (present == 0) return std::nullopt;
    // libtiff is told of whole rows of pieces only; missing pieces at the end get no data.
    const uint64_t presentDown = CeilDiv(present, grid.across);
    if (presentDown * grid.across > kMaxPieces) return std::nullopt;
    const uint32_t codecHeight =
        static_cast<uint32_t>(std::min<uint64_t>(d.height, presentDown * grid.pieceRows));
    std::vector<uint32_t> rawLengths(presentDown * grid.across, 0);
    for (size_t i = 0; i < present; ++i) {
        rawLengths[i] = RawLength(d, offsets, byteCounts, i, pieceBytes, source.size());
    }

    auto picture = PackedDib::create(width, height, layout->bitCount);
    if (!picture) return std::nullopt;
    FillTiffColorTable(d, *layout, *picture);
    picture->setPelsPerMeter(
        TiffPelsPerMeter(d.xResolutionNumerator, d.xResolutionDenominator, d.resolutionUnit),
        TiffPelsPerMeter(d.yResolutionNumerator, d.yResolutionDenominator, d.resolutionUnit));

    const auto codec = TiffCodec::open(d, codecHeight, rawLengths, limits.maxWorkingBytes);
    if (!codec) return std::nullopt;

    std::vector<uint8_t> raw;
    std::vector<uint8_t> decoded(pieceBytes);
    bool anyComplete = false;
    for (size_t i = 0; i < present; ++i) {
        if (limits.isAbandoned()) return std::nullopt;
        const uint64_t across = i % grid.across;
        const uint64_t x0 = across * grid.pieceWidth;
        const uint64_t y0 = (i / grid.across) * grid.pieceRows;
        const int columns = static_cast<int>(std::min<uint64_t>(grid.pieceWidth, d.width - x0));
        const int rows = static_cast<int>(std::min<uint64_t>(grid.pieceRows, d.height - y0));
        // A strip at the bottom holds only the rows that are left; a tile is always whole.
        const uint64_t wanted = d.tiled() ? pieceBytes : pieceRowBytes * uint64_t(rows);

        raw.resize(rawLengths[i]);
        raw.resize(source.readAt(offsets[i], raw.data(), raw.size()));
        // Uncompressed data that breaks off is completed with zeros.
        if (d.compression == 1 && !raw.empty() && raw.size() < wanted) raw.resize(wanted, 0);
        std::fill(decoded.begin(), decoded.end(), 0);
        if (codec->decode(static_cast<uint32_t>(i), raw, decoded.data(), wanted)) {
            anyComplete = true;
        }
        for (int r = 0; r < rows; ++r) {
            ConvertTiffPixels(*layout, decoded.data() + size_t(r) * pieceRowBytes, columns,
                              picture->pictureRow(static_cast<int>(y0) + r), static_cast<int>(x0));
        }
    }
    if (!anyComplete) return std::nullopt;
    return picture;
}

}  // namespace corvelle
