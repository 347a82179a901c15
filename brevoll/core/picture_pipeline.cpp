#include "core/picture_pipeline.h"

#include <algorithm>
#include <optional>

#include "core/byte_source.h"
#include "core/exif_structure.h"
#include "core/interpolation.h"
#include "core/jpeg_segments.h"
#include "core/picture_container.h"
#include "core/picture_limits.h"
#include "core/picture_list.h"
#include "core/picture_metadata.h"
#include "core/picture_saver.h"
#include "core/picture_types.h"
#include "core/shot_date.h"
#include "core/stamp_drawing.h"
#include "core/stamp_text.h"
#include "core/target_rect.h"
#include "core/tiff_exif.h"
#include "imaging/open_picture.h"
#include "imaging/picture_errors.h"

namespace corvelle {

namespace {

using vips::VImage;

// Decoding at 1/2, 1/4 or 1/8 size is far cheaper than decoding in full; at least a factor
// of two is left for the resize itself so its kernel still does the filtering.
int jpegShrinkFor(double factor) {
    if (factor >= 16) return 8;
    if (factor >= 8) return 4;
    if (factor >= 4) return 2;
    return 1;
}

// Colour canvases only: gray pictures are drawn on three bands, and wider sample formats
// or other colour spaces are brought to 8-bit sRGB.
VImage asColourPicture(VImage image) {
    const bool colour = image.bands() >= 3 && image.interpretation() == VIPS_INTERPRETATION_sRGB;
    if (!colour || image.format() != VIPS_FORMAT_UCHAR)
        image = image.colourspace(VIPS_INTERPRETATION_sRGB);
    if (image.format() != VIPS_FORMAT_UCHAR) image = image.cast(VIPS_FORMAT_UCHAR);
    return image;
}

// Scales to exactly width x height; libvips may round a side one pixel differently.
VImage scaledTo(const VImage& image, int width, int height, VipsKernel kernel) {
    const double hscale = double(width) / image.width();
    const double vscale = double(height) / image.height();
    VImage out = image;
    if (image.width() != width || image.height() != height)
        out = image.resize(hscale, VImage::option()->set("vscale", vscale)->set("kernel", kernel));
    if (out.width() > width || out.height() > height)
        out = out.crop(0, 0, std::min(out.width(), width), std::min(out.height(), height));
    if (out.width() < width || out.height() < height)
        out = out.embed(0, 0, width, height, VImage::option()->set("extend", VIPS_EXTEND_COPY));
    return out;
}

// The border colour value is 0xRRGGBB, drawn opaque.
std::vector<double> borderPixel(int32_t value, int bands) {
    std::vector<double> pixel = {double((value >> 16) & 0xFF), double((value >> 8) & 0xFF),
                                 double(value & 0xFF)};
    pixel.resize(size_t(bands), 255.0);
    return pixel;
}

std::span<const uint8_t> blobOf(const VImage& image, const char* name) {
    if (image.get_typeof(name) == 0) return {};
    size_t length = 0;
    const void* data = image.get_blob(name, &length);
    return {static_cast<const uint8_t*>(data), length};
}

// A small copy of the finished canvas; the canvas is in memory already, so this reads it
// once and keeps only the small result.
VImage previewOf(const VImage& canvas) {
    const int side = std::max(canvas.width(), canvas.height());
    if (side <= kPreviewSide) return canvas;
    return canvas.resize(double(kPreviewSide) / side).copy_memory();
}


// The type a listed source is opened as: a picture type by its name's ending, any other
// listed name (one containing ".jpg") as JPEG.
PictureType sourceTypeOf(const std::string& path) {
    const auto byName = PictureTypeOfName(path);
    if (byName && PictureTypeInfoOf(*byName).kind == PictureKind::kPicture) return *byName;
    return PictureType::kJpeg;
}

// A picture's EXIF data as a TIFF structure, and its size (also when too large to carry).
struct SourceExif {
    std::vector<uint8_t> tiff;
    uint64_t size = 0;
};

// Read by our own readers: a TIFF picture's describing entries, and the EXIF data of PNG,
// WebP and HEIF files wherever the file keeps them. A JPEG gives what its loader found.
SourceExif exifOf(const std::string& path, PictureType type, const VImage& source) {
    SourceExif exif;
    const PictureContainer container = PictureTypeInfoOf(type).container;
    const auto file = type == PictureType::kJpeg ? nullptr : FileByteSource::open(path);
    if (file == nullptr) {
        const auto blob = blobOf(source, VIPS_META_EXIF_NAME);
        exif.tiff.assign(blob.begin(), blob.end());
        exif.size = exif.tiff.size();
        return exif;
    }
    if (!KeepsExifInChunks(container)) {
        exif.tiff = ExifOfTiffPicture(*file);
        exif.size = exif.tiff.size();
        return exif;
    }
    // The first structure: a file's own EXIF data (raw-profile text decoded as well).
    const std::vector<ExifStructure> found = FindContainerExif(*file, container);
    if (found.empty()) return exif;
    const ExifStructureSource structure(*file, found.front());
    exif.size = structure.size();
    // More than a JPEG segment holds is only measured, never read.
    if (exif.size > 65535) return exif;
    exif.tiff.resize(size_t(exif.size));
    exif.tiff.resize(structure.readAt(0, exif.tiff));
    return exif;
}

}  // namespace

std::string PixelLimitProblem(const RunSettings& settings, int width, int height) {
    if (int64_t(width) * int64_t(height) <= settings.maxPixels) return {};
    return "too large (" + std::to_string(width) + " x " + std::to_string(height) + ")";
}

ConvertResult ConvertPicture(const RunSettings& settings, const std::string& sourcePath,
                             const std::string& destinationPath, const StepReporter& reportStep,
                             bool replaceExisting, bool keepPreview, MemoryBudget* memory) {
    ConvertResult result;
    auto step = [&](std::string_view name) {
        if (reportStep) reportStep(name);
    };
    // Each picture's failure names its own reason only (see PictureErrors). The span starts
    // once the picture has its memory: waiting for room must not hold up other pictures.
    std::optional<PictureErrors> errors;
    std::string failing = "cannot read the picture";
    MemoryBudget::Reservation room;
    try {
        step(kStepReadJpeg);
        // Opening reads the header only; the size it declares is checked before any pixel
        // is decoded. Only a regular file is opened (a pipe or a device that took the place
        // of a listed picture could hold the run up for ever).
        const PictureType type = sourceTypeOf(sourcePath);
        const bool jpegSource = type == PictureType::kJpeg;
        const std::string typeName(PictureTypeInfoOf(type).name);
        failing = "not a readable " + typeName + " picture";
        // Only a JPEG cut short is filled in (and warned of); a cut-short picture of another
        // type fails rather than come out with a blank part.
        PictureRequest loading;
        loading.cutShortFails = !jpegSource;
        OpenedPicture header = OpenPictureHeader(sourcePath, type, loading);
        if (!header) {
            result.error = header.problem;
            return result;
        }
        const VImage source = header.image;
        const SourceExif exif = exifOf(sourcePath, type, source);
        result.error = PixelLimitProblem(settings, source.width(), source.height());
        if (!result.error.empty()) return result;
        const TargetRect drawn = ComputeTargetRect(settings, source.width(), source.height());
        if (drawn.width <= 0 || drawn.height <= 0) {
            result.error = "the picture has no size";
            return result;
        }
        const InterpolationKernel kernel = KernelForInterpolationMode(settings.interpolationMode);
        const double factor =
            std::min(double(source.width()) / drawn.width, double(source.height()) / drawn.height);
        loading.shrink = kernel.shrinkOnLoad && jpegSource ? jpegShrinkFor(factor) : 1;
        // What the picture takes while it is converted: its decoded pixels and the canvas
        // twice (the canvas, then its encoded copy or the preview). Pictures wait for room
        // in the run's budget rather than take more together.
        PictureLimits budget;
        budget.maxPictureBytes = uint64_t(settings.maxMemoryMb) << 20;
        const uint64_t needed =
            DecodedBytes(source, loading.shrink) + 2 * uint64_t(drawn.canvasWidth()) *
                                                       uint64_t(drawn.canvasHeight()) *
                                                       uint64_t(std::clamp(source.bands(), 3, 4));
        if (needed > budget.maxPictureBytes) {
            result.error = "too large (" + std::to_string(source.width()) + " x " +
                           std::to_string(source.height()) + ", " +
                           std::to_string((needed + (1 << 20) - 1) >> 20) + " MB)";
            return result;
        }
        if (memory != nullptr) room = memory->reserve(needed);
        errors.emplace();
        failing = "the " + typeName + " picture is damaged or cut short";
        OpenedPicture opened = loading.shrink > 1 ? OpenPicture(sourcePath, type, budget, loading)
                                                  : DecodePicture(source, budget, type, loading);
        if (!opened) {
            result.error = opened.problem;
            return result;
        }
        VImage decoded = opened.image;
        opened = {};

        step(kStepResizeDib);
        failing = "cannot resize the picture";
        const bool jpegOutput = TakesJpegName(settings, sourcePath);
        VImage picture = asColourPicture(decoded);
        // JPEG has no transparency: what shows through is white.
        if (jpegOutput && picture.has_alpha())
            picture = picture.flatten(VImage::option()->set("background", 255.0));
        picture = scaledTo(picture, drawn.width, drawn.height, kernel.kernel);
        VImage canvas = picture;
        if (settings.borderMargin > 0)
            canvas = picture.embed(
                drawn.x, drawn.y, drawn.canvasWidth(), drawn.canvasHeight(),
                VImage::option()
                    ->set("extend", VIPS_EXTEND_BACKGROUND)
                    ->set("background", borderPixel(settings.borderColor, picture.bands())));
        if (settings.stampPosition > 0)
            canvas = DrawStamp(canvas, settings, drawn,
                               FormatStamp(ReadShotDate(exif.tiff), settings.stampPattern));
        canvas = canvas.copy_memory();
        decoded = VImage();
        picture = VImage();
        if (keepPreview) result.preview = previewOf(canvas);

        std::optional<JpegMetadataSegments> segments;
        if (settings.copyExif) {
            step(kStepLoadExifInfo);
            if (jpegSource)
                segments = ReadMetadataSegments(sourcePath);
            else if (jpegOutput) {
                segments = SegmentsForMetadata(exif.tiff, blobOf(source, VIPS_META_ICC_NAME),
                                               PictureTypeInfoOf(type).decoderTurnsUpright);
                if (exif.size > 0 && segments->exif.empty())
                    result.warnings.push_back("EXIF of " +
                                              std::to_string((exif.size + 1023) / 1024) +
                                              " KB does not fit a JPEG; left out");
            }
            // CMYK pixels were converted to sRGB through their profile; that profile no
            // longer describes them.
            if (segments && source.interpretation() == VIPS_INTERPRETATION_CMYK)
                segments->icc.clear();
        }

        step(kStepSaveJpeg);
        SaveRequest request;
        request.loader = jpegOutput ? "jpegload" : std::string(PictureTypeInfoOf(type).loader);
        request.quality = settings.quality;
        request.keepMetadata = settings.copyExif;
        request.jpegSegments = segments ? &*segments : nullptr;
        request.replaceExisting = replaceExisting;
        result.saved = SaveWithSourceEncoder(canvas, destinationPath, request, &result.error);
        if (result.saved && jpegSource) result.endsEarly = JpegFileEndsEarly(sourcePath);
    } catch (const vips::VError&) {
        result.error = errors ? errors->reason(failing) : failing;
        result.saved = false;
        result.preview = VImage();
    }
    return result;
}

}  // namespace corvelle
