#include "core/view_geometry.h"

#include <algorithm>
#include <cstdint>

namespace corvelle {

ViewRect CentredRect(int width, int height, const ViewRect& reference) {
    const int left = reference.left + (reference.width() - width) / 2;
    const int top = reference.top + (reference.height() - height) / 2;
    return {left, top, left + width, top + height};
}

ViewRect FitDownInto(const ViewRect& picture, const ViewRect& reference) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0) return picture;
    if (w <= reference.width() && h <= reference.height()) return picture;
    // The smaller of the two ratios, compared without rounding.
    int fitW, fitH;
    if (int64_t(reference.width()) * h <= int64_t(reference.height()) * w) {
        fitW = reference.width();
        fitH = static_cast<int>(int64_t(h) * reference.width() / w);
    } else {
        fitH = reference.height();
        fitW = static_cast<int>(int64_t(w) * reference.height() / h);
    }
    return CentredRect(std::max(fitW, 1), std::max(fitH, 1), reference);
}

ViewRect UnionRect(const ViewRect& a, const ViewRect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

ViewRect IntersectRect(const ViewRect& a, const ViewRect& b) {
    ViewRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
    if (r.isEmpty()) return {};
    return r;
}

namespace {

bool Covers(const ViewRect& window, const ViewRect& screen) {
    return window.left <= screen.left && window.top <= screen.top &&
           window.right >= screen.right && window.bottom >= screen.bottom;
}

}  // namespace

ViewRect PanCovering(const ViewRect& window, const ViewRect& screen, int dx, int dy) {
    ViewRect moved = window;
    ViewRect tried{moved.left + dx, moved.top, moved.right + dx, moved.bottom};
    if (Covers(tried, screen)) moved = tried;
    tried = {moved.left, moved.top + dy, moved.right, moved.bottom + dy};
    if (Covers(tried, screen)) moved = tried;
    return moved;
}

std::optional<int> StepTarget(ListStep step, int current, int count) {
    if (count <= 0) return std::nullopt;
    int target = current;
    switch (step) {
        case ListStep::kNext:
            target = std::min(current + 1, count - 1);
            break;
        case ListStep::kPrevious:
            target = std::max(current - 1, 0);
            break;
        case ListStep::kFirst:
            target = 0;
            break;
        case ListStep::kLast:
            target = count - 1;
            break;
    }
    if (target == current) return std::nullopt;
    return target;
}

}  // namespace corvelle
