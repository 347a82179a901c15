#include "core/decoding/tiff_pixels.h"

#include <cstring>

#include "core/cmyk_to_light.h"

namespace corvelle {

namespace {

// More samples than any real picture has; keeps the sample count within libtiff's 16 bits.
constexpr uint32_t kMaxSamples = 16;

int BitCountFor(uint64_t bitsPerPixel) {
    if (bitsPerPixel >= 9) return 24;
    if (bitsPerPixel >= 5) return 8;
    if (bitsPerPixel >= 2) return 4;
    return 1;
}

uint32_t SampleAt(const uint8_t* samples, size_t index, int bits) {
    switch (bits) {
        case 8:
            return samples[index];
        case 16: {
            uint16_t v;
            std::memcpy(&v, samples + 2 * index, 2);
            return v;
        }
        default: {  // 1, 2 or 4 bits, first pixel in the high bits
            const size_t bit = index * size_t(bits);
            const int shift = 8 - bits - static_cast<int>(bit % 8);
            return (samples[bit / 8] >> shift) & ((1u << bits) - 1);
        }
    }
}

void PutIndex(uint8_t* row, int x, int bitCount, uint32_t value) {
    if (bitCount == 8) {
        row[x] = static_cast<uint8_t>(value);
    } else if (bitCount == 4) {
        const int shift = (x % 2) == 0 ? 4 : 0;
        row[x / 2] = static_cast<uint8_t>((row[x / 2] & ~(0x0F << shift)) | (value << shift));
    } else {
        const int shift = 7 - x % 8;
        row[x / 8] = static_cast<uint8_t>((row[x / 8] & ~(1 << shift)) | (value << shift));
    }
}

void PutBgr(uint8_t* row, int x, int blue, int green, int red) {
    uint8_t* pixel = row + 3 * size_t(x);
    pixel[0] = static_cast<uint8_t>(blue);
    pixel[1] = static_cast<uint8_t>(green);
    pixel[2] = static_cast<uint8_t>(red);
}

}  // namespace

std::optional<TiffPixelLayout> ChooseTiffPixelLayout(const TiffImageDescription& d) {
    TiffPixelLayout layout;
    layout.bitsPerSample = static_cast<int>(d.bitsPerSample);
    layout.samplesPerPixel = static_cast<int>(d.samplesPerPixel);
    layout.whiteIsZero = d.photometric == 0;
    if (d.samplesPerPixel > kMaxSamples || d.bitsPerSample > 16) return std::nullopt;
    layout.bitCount = BitCountFor(uint64_t(d.samplesPerPixel) * d.bitsPerSample);

    const uint32_t bits = d.bitsPerSample;
    const bool wide = bits == 8 || bits == 16;
    switch (d.photometric) {
        case 0:
        case 1:
            layout.kind = TiffColorKind::kGray;
            if (d.samplesPerPixel != 1 || !(bits == 1 || bits == 2 || bits == 4 || wide)) break;
            return layout;
        case 3:
            layout.kind = TiffColorKind::kPalette;
            if (d.samplesPerPixel != 1 || !(bits == 1 || bits == 2 || bits == 4 || bits == 8)) {
                break;
            }
            if (d.colorMap.size() < 3 * (size_t(1) << bits)) break;
            return layout;
        case 2:
            layout.kind = TiffColorKind::kRgb;
            if (d.samplesPerPixel < 3 || !wide) break;
            return layout;
        case 5:
            layout.kind = TiffColorKind::kCmyk;
            if (d.samplesPerPixel < 4 || !wide) break;
            return layout;
    }
    return std::nullopt;
}

void FillTiffColorTable(const TiffImageDescription& d, const TiffPixelLayout& layout,
                        PackedDib& picture) {
    if (layout.bitCount > 8) return;
    const int entries = 1 << layout.bitCount;
    for (int i = 0; i < entries; ++i) {
        uint8_t* entry = picture.colorEntry(i);
        int level = 0;
        if (layout.bitCount == 1) {
            level = i == 0 ? 0 : 255;
        } else if (layout.bitCount == 4) {
            level = i * 16;
        } else {
            level = i;
        }
        entry[0] = entry[1] = entry[2] = static_cast<uint8_t>(level);
        entry[3] = 0;
    }
    if (layout.kind != TiffColorKind::kPalette) return;
    const size_t mapEntries = size_t(1) << layout.bitsPerSample;
    for (size_t i = 0; i < mapEntries; ++i) {
        uint8_t* entry = picture.colorEntry(static_cast<int>(i));
        entry[2] = static_cast<uint8_t>(d.colorMap[i] >> 8);
        entry[1] = static_cast<uint8_t>(d.colorMap[mapEntries + i] >> 8);
        entry[0] = static_cast<uint8_t>(d.colorMap[2 * mapEntries + i] >> 8);
    }
    for (int i = static_cast<int>(mapEntries); i < entries; ++i) {
        std::memset(picture.colorEntry(i), 0, 4);
    }
}

int TiffPelsPerMeter(uint32_t numerator, uint32_t denominator, uint32_t unit) {
    if (denominator == 0) return 0;
    const uint64_t perMeter = unit == 2 ? uint64_t(numerator) * 3937 / (100 * uint64_t(denominator))
                                        : uint64_t(numerator) * 100 / denominator;
    return perMeter > INT32_MAX ? INT32_MAX : static_cast<int>(perMeter);
}

namespace {

// The common layouts whose samples are already the picture's pixels (bilevel and 8-bit gray)
// or need only reordering (8-bit RGB), done a row at a time. False for every other layout.
bool ConvertPlainRow(const TiffPixelLayout& layout, const uint8_t* samples, int count, uint8_t* row,
                     int first) {
    if (layout.kind == TiffColorKind::kGray && layout.bitsPerSample == 1 &&
        layout.samplesPerPixel == 1 && layout.bitCount == 1 && first % 8 == 0) {
        uint8_t* out = row + first / 8;
        const uint8_t flip = layout.whiteIsZero ? 0xFF : 0x00;
        const int whole = count / 8;
        for (int i = 0; i < whole; ++i) out[i] = samples[i] ^ flip;
        if (const int rest = count % 8) {
            // Only the row's own pixels of the last byte change.
            const uint8_t mask = static_cast<uint8_t>(0xFF << (8 - rest));
            out[whole] =
                static_cast<uint8_t>((out[whole] & ~mask) | ((samples[whole] ^ flip) & mask));
        }
        return true;
    }
    if (layout.kind == TiffColorKind::kGray && layout.bitsPerSample == 8 && layout.bitCount == 8 &&
        layout.samplesPerPixel == 1) {
        uint8_t* out = row + first;
        if (layout.whiteIsZero) {
            for (int i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(255 - samples[i]);
        } else {
            std::memcpy(out, samples, size_t(count));
        }
        return true;
    }
    if (layout.kind == TiffColorKind::kRgb && layout.bitsPerSample == 8 && layout.bitCount == 24) {
        const size_t spp = static_cast<size_t>(layout.samplesPerPixel);
        uint8_t* out = row + 3 * size_t(first);
        for (int i = 0; i < count; ++i, out += 3, samples += spp) {
            out[0] = samples[2];
            out[1] = samples[1];
            out[2] = samples[0];
        }
        return true;
    }
    return false;
}

}  // namespace

void ConvertTiffPixels(const TiffPixelLayout& layout, const uint8_t* samples, int count,
                       uint8_t* row, int first) {
    if (ConvertPlainRow(layout, samples, count, row, first)) return;
    const int bits = layout.bitsPerSample;
    const size_t spp = static_cast<size_t>(layout.samplesPerPixel);
    const uint32_t full = (1u << bits) - 1;
    const int toByte = bits == 16 ? 8 : 0;
    for (int i = 0; i < count; ++i) {
        const int x = first + i;
        const size_t s = size_t(i) * spp;
        switch (layout.kind) {
            case TiffColorKind::kGray: {
                uint32_t v = SampleAt(samples, s, bits);
                if (layout.whiteIsZero) v = full - v;
                if (layout.bitCount == 24) {
                    const int level = static_cast<int>(v >> toByte);
                    PutBgr(row, x, level, level, level);
                } else {
                    // Two-bit levels spread over the sixteen of the picture's gray ramp.
                    PutIndex(row, x, layout.bitCount, bits == 2 ? v * 5 : v);
                }
                break;
            }
            case TiffColorKind::kPalette:
                PutIndex(row, x, layout.bitCount, SampleAt(samples, s, bits));
                break;
            case TiffColorKind::kRgb:
                PutBgr(row, x, static_cast<int>(SampleAt(samples, s + 2, bits) >> toByte),
                       static_cast<int>(SampleAt(samples, s + 1, bits) >> toByte),
                       static_cast<int>(SampleAt(samples, s, bits) >> toByte));
                break;
            case TiffColorKind::kCmyk: {
                const int k = static_cast<int>(SampleAt(samples, s + 3, bits));
                const int f = static_cast<int>(full);
                auto light = [&](size_t ink) {
                    return CmykInkToLight(static_cast<int>(SampleAt(samples, s + ink, bits)), k,
                                          f) >>
                           toByte;
                };
                PutBgr(row, x, light(2), light(1), light(0));
                break;
            }
        }
    }
}

}  // namespace corvelle
