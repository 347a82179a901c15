#pragma once

#include <optional>

#include "core/packed_dib.h"

namespace corvelle {

// Zero-filled pictures for the loader and the renderings, laid out as PackedDib::create
// makes them. A photo's block is tens of megabytes that are written once right away; the
// memory is asked for in huge pages, which the kernel then maps a few hundred at a time
// instead of thousands of small page faults (several times faster on virtual machines).
std::optional<PackedDib> CreatePicture(int width, int height, int bitCount);
// Same header and colour table as model, zero pixels.
std::optional<PackedDib> CreatePictureLike(const PackedDib& model);

}  // namespace corvelle
