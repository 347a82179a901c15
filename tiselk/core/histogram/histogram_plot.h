#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/histogram/histogram_counts.h"

namespace corvelle {

// The drawing of the histogram control in the control's own pixels. L, T and B are the
// left, top and bottom of its client area; the drawing is 256 pixels wide from L whatever
// the control's width.
struct PlotPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PlotPoint&) const = default;
};

struct Rgb {
    uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const Rgb&) const = default;
};

inline constexpr int kHistogramWidth = 256;
inline constexpr int kZoneCount = 11;

// The channel's colour: white, red, green, blue.
Rgb ChannelColour(int channel);

// One strip of the gradient bar: from x (inclusive) to right (exclusive), of one colour.
struct GradientStrip {
    int left = 0;
    int right = 0;
    Rgb colour;
};
// The bar from black on the left to `colour` on the right over [left, left + width).
std::vector<GradientStrip> GradientStrips(Rgb colour, int left, int width);

// Zone i (0 to 10): its left edge relative to L, its width and its grey level.
int ZoneLeft(int zone);
int ZoneWidth(int zone);
int ZoneGrey(int zone);

// The 258 corners of the filled shape: one per level, then the baseline's two ends.
std::vector<PlotPoint> HistogramPolygon(const HistogramTable& table, int left, int top, int bottom);

// The scale a count reaches full height at: the smaller of sum / 26 and the largest count.
int64_t HistogramScale(const HistogramTable& table);

}  // namespace corvelle
