#include "core/histogram/histogram_counts.h"

namespace corvelle {

namespace {

constexpr int kBitFieldsCompression = 3;
constexpr size_t kBitFieldMasksSize = 12;

}  // namespace

HistogramCounts CountHistogram(const PackedDib* picture) {
    HistogramCounts counts;
    if (!picture || picture->bitCount() != 24) return counts;
    auto& [mono, red, green, blue] = counts.tables;
    size_t offset = picture->pixelOffset();
    if (picture->compression() == kBitFieldsCompression) offset += kBitFieldMasksSize;
    const size_t stride = static_cast<size_t>(picture->stride());
    const int width = picture->width();
    const int height = picture->height();
    if (offset + stride * size_t(height) > picture->size()) return counts;

    const uint8_t* row = picture->bytes().data() + offset;
    for (int y = 0; y < height; ++y, row += stride) {
        const uint8_t* pixel = row;
        for (int x = 0; x < width; ++x, pixel += 3) {
            const int b = pixel[0], g = pixel[1], r = pixel[2];
            ++blue[b];
            ++green[g];
            ++red[r];
            ++mono[(b * 11 + r * 30 + g * 59) / 100];
        }
    }
    return counts;
}

int HistogramMean(const HistogramTable& table) {
    int64_t weighted = 0;
    int64_t total = 0;
    for (int i = 0; i < 256; ++i) {
        weighted += int64_t(i) * table[i];
        total += table[i];
    }
    return total == 0 ? 0 : static_cast<int>(weighted / total);
}

}  // namespace corvelle
