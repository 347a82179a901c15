#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace corvelle {

// The metadata segments of a JPEG file that travel with a picture, each kept whole
// (marker, length and payload) so they can be written out byte for byte.
struct JpegMetadataSegments {
    std::vector<uint8_t> exif;              // the first APP1 "Exif\0\0" segment
    std::vector<std::vector<uint8_t>> icc;  // every APP2 "ICC_PROFILE\0" segment, in order
    // The photographer's texts: XMP (APP1), IPTC/Photoshop (APP13) and comment segments,
    // in file order.
    std::vector<std::vector<uint8_t>> texts;

    bool empty() const { return exif.empty() && icc.empty() && texts.empty(); }
};

enum class JpegScan { Complete, Truncated, NotJpeg };

// Collects the metadata segments that come before the first scan. Truncated means the
// bytes ended (or a length ran past them) before the scan began; what was found is kept.
JpegScan FindMetadataSegments(std::span<const uint8_t> jpeg, JpegMetadataSegments& found);

// The file's metadata segments, reading no further than its first scan.
std::optional<JpegMetadataSegments> ReadMetadataSegments(const std::string& path);

class ByteSource;

// Whether the JPEG's data stop before its end-of-image marker (a file cut short). Only the
// header and the tail are read, unless data follow the picture.
bool JpegEndsEarly(const ByteSource& jpeg);
bool JpegFileEndsEarly(const std::string& path);

// Puts the segments into a JPEG (after SOI and any APP0 segments) in place of any EXIF,
// ICC, XMP, IPTC or comment segments it carries. Nothing when the bytes are no well-formed JPEG header.
std::optional<std::vector<uint8_t>> SpliceMetadataSegments(std::span<const uint8_t> jpeg,
                                                           const JpegMetadataSegments& segments);

// The TIFF structure inside an APP1 "Exif" segment (empty when there is none).
std::span<const uint8_t> ExifTiffBytes(const JpegMetadataSegments& segments);

}  // namespace corvelle
