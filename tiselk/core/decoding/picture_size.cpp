#include "core/decoding/picture_size.h"

namespace corvelle {

namespace {

// Start-of-frame markers: C0 to CF without DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

uint16_t BigEndian16(const uint8_t* b) { return uint16_t(b[0] << 8 | b[1]); }

}  // namespace

uint64_t PackedBitmapBytes(uint64_t width, uint64_t height, int bitCount) {
    const uint64_t stride = (width * uint64_t(bitCount) + 31) / 32 * 4;
    const uint64_t colors = bitCount <= 8 ? uint64_t(1) << bitCount : 0;
    return 40 + 4 * colors + stride * height;
}

std::optional<PictureSize> JpegPictureSize(const ByteSource& file) {
    uint8_t soi[2];
    if (file.readAt(0, soi) != 2 || soi[0] != 0xFF || soi[1] != 0xD8) return std::nullopt;
    // Every segment moves the position on by at least its two length bytes, so the walk
    // ends at the file's end.
    uint64_t at = 2;
    for (;;) {
        uint8_t head[4];
        if (file.readAt(at, head) != 4 || head[0] != 0xFF) return std::nullopt;
        if (head[1] == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const uint16_t length = BigEndian16(head + 2);
        if (length < 2) return std::nullopt;
        if (IsFrameMarker(head[1])) {
            uint8_t frame[6];
            if (file.readAt(at + 4, frame) != 6) return std::nullopt;
            PictureSize size;
            size.height = BigEndian16(frame + 1);
            size.width = BigEndian16(frame + 3);
            if (size.width == 0 || size.height == 0) return std::nullopt;
            size.pictureBytes = PackedBitmapBytes(size.width, size.height, frame[5] == 1 ? 8 : 24);
            size.peakBytes = size.pictureBytes;
            return size;
        }
        at += 2 + uint64_t(length);
    }
}

}  // namespace corvelle
