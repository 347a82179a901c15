#include "core/decoding/budgeted_decoding.h"

#include <algorithm>

#include "core/byte_source.h"
#include "core/decoding/imaging_picture_size.h"
#include "core/decoding/picture_decoding.h"
#include "core/decoding/tiff_directory.h"
#include "core/decoding/tiff_pixels.h"
#include "core/picture_types.h"

namespace corvelle {

namespace {

std::optional<PictureSize> TiffPictureSize(ByteSource& file) {
    const auto description = ReadTiffDescription(file);
    if (!description) return std::nullopt;
    const auto layout = ChooseTiffPixelLayout(*description);
    if (!layout) return std::nullopt;
    PictureSize size;
    size.width = description->width;
    size.height = description->height;
    size.pictureBytes = PackedBitmapBytes(size.width, size.height, layout->bitCount);
    size.peakBytes = size.pictureBytes;
    return size;
}

}  // namespace

std::optional<PictureSize> ProbePictureSize(const std::string& path) {
    const auto file = FileByteSource::open(path);
    if (!file) return std::nullopt;
    switch (RouteOf(path, *file)) {
        case PictureRoute::kJpeg:
            return JpegPictureSize(*file);
        case PictureRoute::kPng:
            return ImagingPictureSize(path, PictureType::kPng);
        case PictureRoute::kWebp:
            return ImagingPictureSize(path, PictureType::kWebp);
        case PictureRoute::kTiff:
            return TiffPictureSize(*file);
        case PictureRoute::kIsoMedia:
        case PictureRoute::kRawPreview:
            // A CR3's or a raw file's preview, a HEIF picture: decoded within what is left.
            return std::nullopt;
    }
    return std::nullopt;
}

BudgetedPicture DecodePictureWithinBudget(const std::string& path, DecodeBudget& budget,
                                          BudgetUse use, const JpegMessageSink& messages,
                                          const std::atomic<bool>* abandoned) {
    BudgetedPicture result;
    const std::optional<PictureSize> size = ProbePictureSize(path);
    PictureLimits limits;
    limits.abandoned = abandoned;
    // The decoder's own ceiling: what this use may take at most.
    const uint64_t room = use == BudgetUse::kAhead ? budget.available() : budget.total();
    limits.maxPictureBytes = std::min(limits.maxPictureBytes, room);
    if (size) {
        if (use == BudgetUse::kAhead) {
            result.claim = budget.claim(size->peakBytes);
        } else if (size->peakBytes <= budget.total()) {
            result.claim = budget.charge(size->peakBytes);
        }
        if (!result.claim) {
            result.problem = TooLargeReason(size->width, size->height, size->pictureBytes);
            return result;
        }
    }
    result.picture = DecodePicture(path, messages, limits);
    if (!result.picture) {
        result.claim.reset();
        return result;
    }
    const uint64_t bytes = result.picture->bytes().size();
    if (result.claim) {
        result.claim->shrinkTo(bytes);
    } else {
        result.claim = budget.charge(bytes);
    }
    return result;
}

}  // namespace corvelle
