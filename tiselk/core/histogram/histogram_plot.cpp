#include "core/histogram/histogram_plot.h"

#include <algorithm>
#include <cstdint>

#include "core/mul_div.h"

namespace corvelle {

Rgb ChannelColour(int channel) {
    switch (channel) {
        case kRedChannel:
            return {255, 0, 0};
        case kGreenChannel:
            return {0, 255, 0};
        case kBlueChannel:
            return {0, 0, 255};
        default:
            return {255, 255, 255};
    }
}

std::vector<GradientStrip> GradientStrips(Rgb colour, int left, int width) {
    std::vector<GradientStrip> strips;
    if (width <= 0) return strips;
    const int differences = std::max({int(colour.red), int(colour.green), int(colour.blue)});
    const int count = std::min(std::max(differences, 1), width);
    const double stripWidth = double(width) / count;
    for (int i = 0; i < count; ++i) {
        const int from = left + static_cast<int>(i * stripWidth);
        const int to = left + static_cast<int>((i + 1) * stripWidth);
        // Step i of `count` from black toward the colour, each component truncated.
        const auto step = [&](int component) {
            return static_cast<uint8_t>(component * i / count);
        };
        strips.push_back({from, to, {step(colour.red), step(colour.green), step(colour.blue)}});
    }
    strips.back().right = left + width;
    return strips;
}

int ZoneLeft(int zone) { return zone == 0 ? 0 : 26 + (zone - 1) * 23; }
int ZoneWidth(int zone) { return zone == 0 ? 26 : 23; }
int ZoneGrey(int zone) { return (zone * 25 + 5) % 256; }

int64_t HistogramScale(const HistogramTable& table) {
    int64_t sum = 0;
    int64_t largest = 0;
    for (int32_t count : table) {
        sum += count;
        largest = std::max<int64_t>(largest, count);
    }
    return std::min(sum / 26, largest);
}

std::vector<PlotPoint> HistogramPolygon(const HistogramTable& table, int left, int top,
                                        int bottom) {
    const int baseline = bottom - 30;
    const int height = std::max(baseline - (top + 22), 0);
    const int64_t scale = HistogramScale(table);
    std::vector<PlotPoint> points;
    points.reserve(258);
    for (int i = 0; i < 256; ++i) {
        int reach = 0;
        if (scale > 0) {
            // The counts and the scale fit 32 bits for any picture a viewer can hold; a
            // result MulDiv cannot give (-1) only happens past the top and is cut there.
            const int scaled =
                MulDiv(table[i], height, static_cast<int>(std::min<int64_t>(scale, INT32_MAX)));
            reach = scaled < 0 ? height : std::min(height, scaled);
        }
        points.push_back({left + i, baseline - reach});
    }
    points.push_back({left + 256, baseline});
    points.push_back({left, baseline});
    return points;
}

}  // namespace corvelle
