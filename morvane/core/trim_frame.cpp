#include "core/trim_frame.h"

#include <algorithm>

namespace corvelle {

namespace {

bool hasFrame(int trimSize) { return trimSize > kTrimNone && trimSize < int(kTrimSizes.size()); }

}  // namespace

DibRect GetTrimRect(const DibRect& rect, int trimSize) {
    const int w = rect.width();
    const int h = rect.height();
    if (!hasFrame(trimSize) || w <= 0 || h <= 0) return {};
    const TrimSize& size = kTrimSizes[trimSize];
    // Landscape pictures take the long side across; portrait and square ones stand it up.
    const int a = w > h ? size.longSide : size.shortSide;
    const int b = w > h ? size.shortSide : size.longSide;

    if (w >= a && h >= b) {
        const int left = rect.left + (w - a) / 2;
        const int top = rect.top + (h - b) / 2;
        return {left, top, left + a, top + b};
    }
    // A frame is at least one pixel across, however thin the picture.
    const double ratio = double(a) / double(b);
    if (ratio > double(w) / double(h)) {
        const int frameHeight = std::max(1, int(double(w) / ratio));
        const int top = rect.top + (h - frameHeight) / 2;
        return {rect.left, top, rect.right, top + frameHeight};
    }
    const int frameWidth = std::max(1, int(double(h) * ratio));
    const int left = rect.left + (w - frameWidth) / 2;
    return {left, rect.top, left + frameWidth, rect.bottom};
}

TrimOffset ClampTrimOffset(int width, int height, int trimSize, TrimOffset offset) {
    const DibRect frame = GetTrimRect({0, 0, width, height}, trimSize);
    if (frame.width() <= 0 || frame.height() <= 0) return offset;
    return {std::clamp(offset.x, -frame.left, width - frame.right),
            std::clamp(offset.y, -frame.top, height - frame.bottom)};
}

DibRect TrimFrameInPicture(int width, int height, int trimSize, TrimOffset offset) {
    DibRect frame = GetTrimRect({0, 0, width, height}, trimSize);
    if (frame.width() <= 0 || frame.height() <= 0) return {};
    const TrimOffset kept = ClampTrimOffset(width, height, trimSize, offset);
    frame.left += kept.x;
    frame.right += kept.x;
    frame.top += kept.y;
    frame.bottom += kept.y;
    return frame;
}

TrimOffset MoveTrimOffset(int width, int height, int trimSize, TrimOffset offset, int dx, int dy) {
    if (!hasFrame(trimSize)) return offset;
    // Limit the old offset first: the size may have changed since it was set.
    const TrimOffset kept = ClampTrimOffset(width, height, trimSize, offset);
    return ClampTrimOffset(
        width, height, trimSize,
        {int(std::clamp<long long>((long long)kept.x + dx, -(long long)width, (long long)width)),
         int(std::clamp<long long>((long long)kept.y + dy, -(long long)height,
                                   (long long)height))});
}

TrimFreedom TrimFrameFreedom(int width, int height, int trimSize) {
    const DibRect frame = GetTrimRect({0, 0, width, height}, trimSize);
    if (frame.width() <= 0 || frame.height() <= 0) return TrimFreedom::kNone;
    const bool across = frame.left > 0;
    const bool upDown = frame.top > 0;
    if (across && upDown) return TrimFreedom::kBoth;
    if (across) return TrimFreedom::kHorizontal;
    if (upDown) return TrimFreedom::kVertical;
    return TrimFreedom::kNone;
}

}  // namespace corvelle
