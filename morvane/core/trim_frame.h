#pragma once

#include <array>

#include "core/packed_dib.h"

namespace corvelle {

// Print sizes the trimming frame can show. Only the ratio of the two numbers matters,
// except that a picture at least as large as both keeps a frame of exactly that size.
struct TrimSize {
    const char* name;  // combo and menu text
    int longSide;      // 0 for "None"
    int shortSide;
};

inline constexpr int kTrimNone = 0;
inline constexpr std::array<TrimSize, 7> kTrimSizes{{
    {"None", 0, 0},
    {"3\" x 5\"", 15240, 10740},
    {"4\" x 6\"", 18180, 12280},
    {"5\" x 7\"", 21380, 15360},
    {"8\" x 10\"", 30360, 24340},
    {"10\" x 12\"", 30380, 30360},
    {"10\" x 14\"", 42400, 30360},
}};

// The frame of trimming size index trimSize, centred in rect; empty for kTrimNone, for an
// index out of range and for an empty rect.
DibRect GetTrimRect(const DibRect& rect, int trimSize);

// The frame's displacement from its centred position, in picture pixels.
struct TrimOffset {
    int x = 0, y = 0;
    bool operator==(const TrimOffset&) const = default;
};

// The offset limited so that the frame centred on (0, 0, width, height) and moved by it
// stays inside the picture. Without a frame the offset is kept as it is.
TrimOffset ClampTrimOffset(int width, int height, int trimSize, TrimOffset offset);

// The frame in picture coordinates as saving and copying cut it: centred on (0, 0, width,
// height) and moved by the clamped offset. Empty without a frame.
DibRect TrimFrameInPicture(int width, int height, int trimSize, TrimOffset offset);

// A drag of the frame by (dx, dy) picture pixels: the offset after the move, stopped at the
// picture's edges. Without a frame the offset is kept.
TrimOffset MoveTrimOffset(int width, int height, int trimSize, TrimOffset offset, int dx, int dy);

// Which way the frame can move inside the picture, for the cursor over the view.
enum class TrimFreedom { kNone, kVertical, kHorizontal, kBoth };
TrimFreedom TrimFrameFreedom(int width, int height, int trimSize);

}  // namespace corvelle
