#pragma once

#include <optional>

namespace corvelle {

// A rectangle in whole pixels, right and bottom exclusive.
struct ViewRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const ViewRect&) const = default;
};

// A picture of width x height at its natural size, centred in `reference` (integer halves).
ViewRect CentredRect(int width, int height, const ViewRect& reference);

// The rectangle scaled down, keeping its aspect ratio, to fit `reference` when it is wider
// or taller than it, and centred there; unchanged when it already fits.
ViewRect FitDownInto(const ViewRect& picture, const ViewRect& reference);

// The smallest rectangle holding both.
ViewRect UnionRect(const ViewRect& a, const ViewRect& b);
ViewRect IntersectRect(const ViewRect& a, const ViewRect& b);

// Moves a window rectangle by (dx, dy), each direction on its own, and takes a move back when
// the window would no longer cover `screen` whole: a picture larger than the screen can be
// moved only as far as it reaches beyond the screen.
ViewRect PanCovering(const ViewRect& window, const ViewRect& screen, int dx, int dy);

// List stepping of the photo view: the entry to go to, or none when the step stays where it
// is (Next at the last entry, Previous at the first, First and Last when already there).
enum class ListStep { kNext, kPrevious, kFirst, kLast };
std::optional<int> StepTarget(ListStep step, int current, int count);

}  // namespace corvelle
