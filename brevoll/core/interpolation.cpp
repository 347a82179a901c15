#include "core/interpolation.h"

namespace corvelle {

namespace {

// libvips widens every kernel but nearest by the shrink factor, so each of them low-passes
// when shrinking; the list only chooses the kernel's shape. The plain modes get the
// bilinear kernel the platform used for them, the bicubic ones the cubic kernel, and
// "HighQuality" the best libvips has. NearestNeighbor picks pixels and nothing else.
constexpr InterpolationKernel kKernels[] = {
    {VIPS_KERNEL_LINEAR, true},    // 0 Default
    {VIPS_KERNEL_LINEAR, true},    // 1 LowQuality
    {VIPS_KERNEL_LANCZOS3, true},  // 2 HighQuality
    {VIPS_KERNEL_LINEAR, true},    // 3 Bilinear
    {VIPS_KERNEL_CUBIC, true},     // 4 Bicubic
    {VIPS_KERNEL_NEAREST, false},  // 5 NearestNeighbor
    {VIPS_KERNEL_LINEAR, true},    // 6 HighQualityBilinear
    {VIPS_KERNEL_CUBIC, true},     // 7 HighQualityBicubic
};

}  // namespace

InterpolationKernel KernelForInterpolationMode(int mode) {
    if (mode < 0 || mode >= int(sizeof kKernels / sizeof kKernels[0])) mode = 0;
    return kKernels[mode];
}

}  // namespace corvelle
