#include "core/jpeg_segments.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/byte_source.h"

namespace corvelle {

namespace {

constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kApp0 = 0xE0;
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp2 = 0xE2;
constexpr uint8_t kApp13 = 0xED;
constexpr uint8_t kCom = 0xFE;
constexpr uint8_t kTem = 0x01;

constexpr char kExifSignature[] = "Exif\0\0";      // 6 bytes
constexpr char kIccSignature[] = "ICC_PROFILE\0";  // 12 bytes
constexpr size_t kExifSignatureSize = 6;
constexpr size_t kIccSignatureSize = 12;

// One marker segment: where it starts (at its 0xFF) and how long it is in all.
struct Segment {
    uint8_t marker = 0;
    size_t start = 0;
    size_t size = 0;
};

bool hasSignature(std::span<const uint8_t> bytes, const Segment& s, const char* signature,
                  size_t signatureSize) {
    const size_t payload = s.start + 4;
    return s.size >= 4 + signatureSize &&
           std::memcmp(bytes.data() + payload, signature, signatureSize) == 0;
}

bool isExif(std::span<const uint8_t> bytes, const Segment& s) {
    return s.marker == kApp1 && hasSignature(bytes, s, kExifSignature, kExifSignatureSize);
}

bool isIcc(std::span<const uint8_t> bytes, const Segment& s) {
    return s.marker == kApp2 && hasSignature(bytes, s, kIccSignature, kIccSignatureSize);
}

// XMP (and its extension packets), IPTC in Photoshop's resource block, and comments.
bool isText(std::span<const uint8_t> bytes, const Segment& s) {
    static constexpr char kXmp[] = "http://ns.adobe.com/xap/1.0/";
    static constexpr char kXmpExtension[] = "http://ns.adobe.com/xmp/extension/";
    static constexpr char kPhotoshop[] = "Photoshop 3.0";
    if (s.marker == kCom) return true;
    if (s.marker == kApp1)
        return hasSignature(bytes, s, kXmp, sizeof kXmp) ||
               hasSignature(bytes, s, kXmpExtension, sizeof kXmpExtension);
    return s.marker == kApp13 && hasSignature(bytes, s, kPhotoshop, sizeof kPhotoshop);
}

bool isCarried(std::span<const uint8_t> bytes, const Segment& s) {
    return isExif(bytes, s) || isIcc(bytes, s) || isText(bytes, s);
}

// Walks the header segments up to the first scan, calling visit(segment) for each one.
// Returns where the scan header starts (its 0xFF) through scanStart.
template <typename Visit>
JpegScan walkSegments(std::span<const uint8_t> bytes, size_t& scanStart, Visit visit) {
    if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != kSoi) return JpegScan::NotJpeg;
    size_t pos = 2;
    while (pos < bytes.size()) {
        if (bytes[pos] != 0xFF) return JpegScan::Truncated;  // garbage where a marker belongs
        const size_t markerStart = pos;
        while (pos < bytes.size() && bytes[pos] == 0xFF) ++pos;  // fill bytes
        if (pos >= bytes.size()) break;
        const uint8_t marker = bytes[pos++];
        if (marker == kSos || marker == kEoi) {
            scanStart = markerStart;
            return JpegScan::Complete;
        }
        if (marker == kTem || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x00) continue;
        if (pos + 2 > bytes.size()) break;
        const size_t length = size_t(bytes[pos]) << 8 | bytes[pos + 1];
        if (length < 2 || pos + length > bytes.size()) break;
        // A segment is kept with exactly one 0xFF before its marker.
        visit(Segment{marker, pos - 2, length + 2});
        pos += length;
    }
    return JpegScan::Truncated;
}

}  // namespace

JpegScan FindMetadataSegments(std::span<const uint8_t> jpeg, JpegMetadataSegments& found) {
    size_t scanStart = 0;
    return walkSegments(jpeg, scanStart, [&](const Segment& s) {
        const auto whole = jpeg.subspan(s.start, s.size);
        if (isExif(jpeg, s) && found.exif.empty())
            found.exif.assign(whole.begin(), whole.end());
        else if (isIcc(jpeg, s))
            found.icc.emplace_back(whole.begin(), whole.end());
        else if (isText(jpeg, s))
            found.texts.emplace_back(whole.begin(), whole.end());
    });
}

namespace {

// Whether the pair FF D9 lies within [from, to) of the source, read a piece at a time.
bool endMarkerBetween(const ByteSource& jpeg, uint64_t from, uint64_t to) {
    std::vector<uint8_t> piece(64 * 1024);
    uint8_t before = 0;
    for (uint64_t at = from; at < to;) {
        const size_t got =
            jpeg.readAt(at, piece.data(), size_t(std::min<uint64_t>(piece.size(), to - at)));
        if (got == 0) break;
        for (size_t i = 0; i < got; ++i) {
            if (before == 0xFF && piece[i] == kEoi && at + i > from) return true;
            before = piece[i];
        }
        at += got;
    }
    return false;
}

}  // namespace

bool JpegEndsEarly(const ByteSource& jpeg) {
    // The header is read in doubling pieces until its scan begins.
    const uint64_t size = jpeg.size();
    std::vector<uint8_t> head;
    size_t scanStart = 0;
    for (uint64_t piece = 64 * 1024;; piece *= 2) {
        head.resize(size_t(std::min(piece, size)));
        if (jpeg.readAt(0, head.data(), head.size()) < head.size()) return true;
        const JpegScan scan = walkSegments(head, scanStart, [](const Segment&) {});
        if (scan == JpegScan::Complete) break;
        if (scan == JpegScan::NotJpeg || head.size() >= size) return true;
    }
    // In the coded data a 0xFF is followed by a stuffed 0 or a restart marker, so the pair
    // FF D9 is the end-of-image marker itself. It is almost always among the last bytes;
    // data some cameras append after it (a second picture, a movie) make the rest worth a
    // look only when the tail has none.
    constexpr uint64_t kTail = 64 * 1024;
    const uint64_t tailStart = size - std::min<uint64_t>(size - scanStart, kTail);
    if (endMarkerBetween(jpeg, tailStart, size)) return false;
    return tailStart == scanStart || !endMarkerBetween(jpeg, scanStart, tailStart + 1);
}

bool JpegFileEndsEarly(const std::string& path) {
    const auto file = FileByteSource::open(path);
    return file != nullptr && JpegEndsEarly(*file);
}

std::optional<JpegMetadataSegments> ReadMetadataSegments(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    // The header is read in doubling pieces: most files have it in the first few kilobytes,
    // but a large embedded profile or maker note can push the scan much further. Doubling
    // keeps the rescans of a long header few.
    constexpr size_t kMostHeader = 64 * 1024 * 1024;
    size_t piece = 64 * 1024;
    std::vector<uint8_t> bytes;
    JpegMetadataSegments found;
    JpegScan scan = JpegScan::Truncated;
    while (bytes.size() < kMostHeader) {
        const size_t old = bytes.size();
        bytes.resize(old + piece);
        const size_t got = std::fread(bytes.data() + old, 1, piece, file);
        bytes.resize(old + got);
        found = {};
        scan = FindMetadataSegments(bytes, found);
        if (scan != JpegScan::Truncated || got < piece) break;
        piece = bytes.size();
    }
    std::fclose(file);
    if (scan == JpegScan::NotJpeg) return std::nullopt;
    return found;
}

std::optional<std::vector<uint8_t>> SpliceMetadataSegments(std::span<const uint8_t> jpeg,
                                                           const JpegMetadataSegments& segments) {
    std::vector<Segment> header;
    size_t scanStart = 0;
    if (walkSegments(jpeg, scanStart, [&](const Segment& s) { header.push_back(s); }) !=
        JpegScan::Complete)
        return std::nullopt;

    std::vector<uint8_t> out;
    out.reserve(jpeg.size() + segments.exif.size() +
                65536 * (segments.icc.size() + segments.texts.size()));
    out.insert(out.end(), jpeg.begin(), jpeg.begin() + 2);
    auto copy = [&](const Segment& s) {
        out.insert(out.end(), jpeg.begin() + long(s.start), jpeg.begin() + long(s.start + s.size));
    };
    size_t i = 0;
    for (; i < header.size() && header[i].marker == kApp0; ++i) copy(header[i]);
    out.insert(out.end(), segments.exif.begin(), segments.exif.end());
    for (const auto& icc : segments.icc) out.insert(out.end(), icc.begin(), icc.end());
    for (const auto& text : segments.texts) out.insert(out.end(), text.begin(), text.end());
    for (; i < header.size(); ++i)
        if (!isCarried(jpeg, header[i])) copy(header[i]);
    out.insert(out.end(), jpeg.begin() + long(scanStart), jpeg.end());
    return out;
}

std::span<const uint8_t> ExifTiffBytes(const JpegMetadataSegments& segments) {
    constexpr size_t kSkip = 4 + kExifSignatureSize;
    if (segments.exif.size() <= kSkip) return {};
    return std::span<const uint8_t>(segments.exif).subspan(kSkip);
}

}  // namespace corvelle
