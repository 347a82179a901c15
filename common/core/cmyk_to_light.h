#pragma once

#include "core/mul_div.h"

namespace corvelle {

// The light left by one ink (C, M or Y) under black K, both on a scale whose full ink is
// `full` (255 or 65535): the ink spreads over the paper K leaves white, then K is added.
inline int CmykInkToLight(int ink, int black, int full) {
    int covered = MulDiv(ink, full - black, full) + black;
    if (covered > full) covered = full;
    return full - covered;
}

}  // namespace corvelle
