#pragma once

#include <vips/vips.h>

namespace corvelle {

// How one entry of the Sampling Method list is carried out.
struct InterpolationKernel {
    VipsKernel kernel;
    // Whether the picture may be shrunk while it is decoded (the JPEG decoder's own
    // averaging): only kernels that low-pass anyway may take it.
    bool shrinkOnLoad;
};

// The kernel for a list index 0..7 (anything else is treated as 0).
InterpolationKernel KernelForInterpolationMode(int mode);

}  // namespace corvelle
