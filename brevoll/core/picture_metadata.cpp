#include "core/picture_metadata.h"

#include <algorithm>
#include <cstring>

#include "core/exif_orientation.h"

namespace corvelle {

namespace {

constexpr uint8_t kExifMark[] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint8_t kIccMark[] = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
// A segment's length field counts itself and the payload.
constexpr size_t kLargestPayload = 65535 - 2;
// Each ICC segment also holds its sequence number and the segment count.
constexpr size_t kIccChunk = kLargestPayload - sizeof kIccMark - 2;
constexpr size_t kMostIccSegments = 255;

std::vector<uint8_t> segment(uint8_t marker, std::span<const uint8_t> head,
                             std::span<const uint8_t> payload) {
    const size_t length = 2 + head.size() + payload.size();
    std::vector<uint8_t> bytes = {0xFF, marker, uint8_t(length >> 8), uint8_t(length & 0xFF)};
    bytes.insert(bytes.end(), head.begin(), head.end());
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

bool startsWith(std::span<const uint8_t> bytes, std::span<const uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

}  // namespace

JpegMetadataSegments SegmentsForMetadata(std::span<const uint8_t> exif,
                                         std::span<const uint8_t> icc, bool resetOrientation) {
    JpegMetadataSegments segments;
    std::vector<uint8_t> tiff;
    if (startsWith(exif, kExifMark))
        tiff.assign(exif.begin() + sizeof kExifMark, exif.end());
    else
        tiff.assign(exif.begin(), exif.end());
    if (!tiff.empty() && tiff.size() + sizeof kExifMark <= kLargestPayload) {
        if (resetOrientation) SetExifOrientation(tiff, 1);
        segments.exif = segment(0xE1, kExifMark, tiff);
    }
    const size_t count = (icc.size() + kIccChunk - 1) / kIccChunk;
    if (count > 0 && count <= kMostIccSegments) {
        for (size_t i = 0; i < count; ++i) {
            std::vector<uint8_t> head(std::begin(kIccMark), std::end(kIccMark));
            head.push_back(uint8_t(i + 1));
            head.push_back(uint8_t(count));
            const size_t from = i * kIccChunk;
            segments.icc.push_back(
                segment(0xE2, head, icc.subspan(from, std::min(kIccChunk, icc.size() - from))));
        }
    }
    return segments;
}

}  // namespace corvelle
