#pragma once

// Builders for ISO media files box by box (HEIF items, CR3 boxes, movie headers) and for
// PNG and WebP chunk streams, so that readers are tested on bytes whose every field the
// test chose.
//
//   auto heif = BuildHeif({.exifTiff = BuildTiff(ifd0, kBig)});
//   auto movie = BuildMovie({.movieHeaderSeconds = 3'600'000'000});

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvelle::testing {

using Bytes = std::vector<uint8_t>;

void AppendBig(Bytes& out, uint64_t value, int width);
Bytes Join(const std::vector<Bytes>& parts);
Bytes Box(const std::string& type, const Bytes& payload);
Bytes FullBox(const std::string& type, uint8_t version, const Bytes& payload);
Bytes UuidBox(const std::array<uint8_t, 16>& uuid, const Bytes& payload);

struct HeifParts {
    Bytes exifTiff{};  // the Exif item's TIFF structure; none when empty
    Bytes exifPrefix = {'E', 'x', 'i', 'f', 0, 0};  // what the header offset skips
    Bytes thumbnail{};                              // a thumbnail item when not empty
    std::string thumbnailType = "jpeg";
    bool exifInIdat = false;  // the Exif item stored in the "idat" box
    int exifPieces = 1;       // iloc extents of the Exif item, laid out in the file last first
    uint8_t ilocVersion = 1;
    std::string brand = "heic";
};
Bytes BuildHeif(const HeifParts& parts);

struct Cr3Parts {
    Bytes cmt1{}, cmt2{};   // TIFF structures
    Bytes thumbnailJpeg{};  // in THMB
    Bytes previewJpeg{};    // in PRVW
};
Bytes BuildCr3(const Cr3Parts& parts);

struct MovieParts {
    std::optional<uint64_t> movieHeaderSeconds{};  // since 1904
    bool movieHeaderVersion1 = false;
    std::string creationDate{};  // a com.apple.quicktime.creationdate value when not empty
    std::string brand = "qt  ";
};
Bytes BuildMovie(const MovieParts& parts);

// A PNG signature and chunks (type, data), CRCs left zero: the readers do not check them.
Bytes BuildPngChunks(const std::vector<std::pair<std::string, Bytes>>& chunks);
// The text of a raw profile as editors write it: "\n" name "\n", the length padded to eight
// places, then the bytes in lines of 72 hex digits.
std::string RawProfileText(const std::string& name, const Bytes& bytes);
// zlib's deflate of the bytes.
Bytes Deflated(const Bytes& bytes);
// The data of a PNG text chunk of that type ("tEXt", "zTXt", "iTXt"): the keyword, the fields
// its type has, and the text (deflated for zTXt and for a compressed iTXt).
Bytes PngTextChunk(const std::string& type, const std::string& keyword, const std::string& text,
                   bool compressed = false);

// "RIFF" size "WEBP" and chunks; `riffSize` replaces the true size when given.
Bytes BuildWebpChunks(const std::vector<std::pair<std::string, Bytes>>& chunks,
                      std::optional<uint32_t> riffSize = std::nullopt);

}  // namespace corvelle::testing
