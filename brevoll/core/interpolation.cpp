#include "core/interpolation.h"

namespace corvelle {

namespace {

// libvips widens every kernel but nearest by the shrink factor, so each of them low-passes
// when shrinking; the list chooses the kernel's shape. The plain and low-quality modes get
// the quick bilinear kernel, "Bicubic" the cubic one, and the three high-quality modes the
// three-lobed Lanczos kernel, which leaves the least moire on fine lines and the sharpest
// detail. NearestNeighbor picks pixels and nothing else.
constexpr InterpolationKernel kKernels[] = {
    {VIPS_KERNEL_LINEAR, true},    // 0 Default
    {VIPS_KERNEL_LINEAR, true},    // 1 LowQuality
    {VIPS_KERNEL_LANCZOS3, true},  // 2 HighQuality
    {VIPS_KERNEL_LINEAR, true},    // 3 Bilinear
    {VIPS_KERNEL_CUBIC, true},     // 4 Bicubic
    {VIPS_KERNEL_NEAREST, false},  // 5 NearestNeighbor
    {VIPS_KERNEL_LANCZOS3, true},  // 6 HighQualityBilinear
    {VIPS_KERNEL_LANCZOS3, true},  // 7 HighQualityBicubic
};

}  // namespace

InterpolationKernel KernelForInterpolationMode(int mode) {
    if (mode < 0 || mode >= int(sizeof kKernels / sizeof kKernels[0])) mode = 0;
    return kKernels[mode];
}

}  // namespace corvelle
