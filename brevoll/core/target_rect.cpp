#include "core/target_rect.h"

#include <algorithm>
#include <cmath>

#include "core/mul_div.h"

namespace corvelle {

namespace {

constexpr int kSmallestDrawnSide = 10;

void fitIntoBound(int w, int h, int boundWidth, int boundHeight, int& outW, int& outH) {
    if (w <= boundWidth && h <= boundHeight) {
        outW = w;
        outH = h;
        return;
    }
    // The two scales are worked out at different precisions, as the sizes users already
    // have were made that way; the rounding of 2000x3008 into 800x600 depends on it.
    const double sx = double(std::min(w, boundWidth)) / double(w);
    const double sy = double(float(double(std::min(h, boundHeight)) / double(h)));
    const double s = std::min(sx, sy);
    outW = int(std::floor(w * s + 0.5));
    outH = int(std::floor(h * s + 0.5));
}

}  // namespace

TargetRect ComputeTargetRect(const RunSettings& settings, int w, int h) {
    TargetRect r;
    if (w <= 0 || h <= 0) return r;
    switch (settings.method) {
        case kMethodRatio: {
            const int ratio = int(settings.sizeValue);
            r.width = MulDiv(w, ratio, 100);
            r.height = MulDiv(h, ratio, 100);
            break;
        }
        case kMethodPixel: {
            const int p = int(settings.sizeValue);
            if (w > h) {
                r.width = p;
                r.height = MulDiv(h, p, w);
            } else {
                r.height = p;
                r.width = MulDiv(w, p, h);
            }
            break;
        }
        default:
            if (settings.fitToBound) {
                r.width = BoundWidth(settings);
                r.height = BoundHeight(settings);
            } else {
                fitIntoBound(w, h, BoundWidth(settings), BoundHeight(settings), r.width, r.height);
            }
            break;
    }
    // A very thin picture must still be drawn at least one pixel wide.
    r.width = std::max(r.width, 1);
    r.height = std::max(r.height, 1);
    const int m = settings.borderMargin;
    if (m > 0) {
        r.x = r.y = m;
        r.width = std::max(r.width - 2 * m, kSmallestDrawnSide);
        r.height = std::max(r.height - 2 * m, kSmallestDrawnSide);
    }
    return r;
}

}  // namespace corvelle
