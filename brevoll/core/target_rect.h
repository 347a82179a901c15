#pragma once

#include "core/run_settings.h"

namespace corvelle {

// Where the scaled picture is drawn on the canvas; the canvas is
// (width + 2x) by (height + 2y).
struct TargetRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int canvasWidth() const { return width + 2 * x; }
    int canvasHeight() const { return height + 2 * y; }
    bool operator==(const TargetRect&) const = default;
};

TargetRect ComputeTargetRect(const RunSettings& settings, int sourceWidth, int sourceHeight);

}  // namespace corvelle
