#pragma once

#include <cstdint>
#include <string>

#include <vips/vips8>

#include "core/picture_limits.h"
#include "core/picture_types.h"

namespace corvelle {

// A picture opened by the imaging library, or why there is none.
struct OpenedPicture {
    vips::VImage image;   // its header only, or its pixels decoded into memory
    std::string problem;  // empty when the picture is there
    explicit operator bool() const { return problem.empty(); }
};

// How a picture is to be decoded.
struct PictureRequest {
    // 2, 4 or 8 decodes a JPEG at that fraction of its size, far cheaper than decoding it
    // whole; other types ignore it.
    int shrink = 1;
    // A picture whose data stop early fails instead of being filled in. (A JPEG is always
    // filled in; its callers tell a cut-short one from its missing end marker.)
    bool cutShortFails = false;
};

// Opens a file with the loader of its type only, after checking that its first bytes are
// those of the type ("not a PNG picture" otherwise), and reads its header; no pixel is
// decoded yet. StartImaging must have been called. Failures give the picture's own reason
// (see PictureErrors), never another picture's.
OpenedPicture OpenPictureHeader(const std::string& path, PictureType type,
                                const PictureRequest& request = {});

// What the picture takes decoded: width x height x bands x bytes per sample, each side
// divided (rounding up) by the shrink a JPEG is loaded with.
uint64_t DecodedBytes(const vips::VImage& header, int shrink = 1);

// Refuses a header whose decoded bytes exceed the budget ("too large (W x H, N MB)"),
// then decodes the pixels into memory.
// The request is the one the header was opened with.
OpenedPicture DecodePicture(const vips::VImage& header, const PictureLimits& budget,
                            PictureType type, const PictureRequest& request = {});

// The two in one: the type's own loader, the header, the budget, then the pixels.
OpenedPicture OpenPicture(const std::string& path, PictureType type, const PictureLimits& budget,
                          const PictureRequest& request = {});

}  // namespace corvelle
