#include "imaging/open_picture.h"

#include <algorithm>
#include <memory>

#include "core/byte_source.h"
#include "imaging/picture_errors.h"

namespace corvelle {

namespace {

using vips::VImage;

std::string tooLarge(const VImage& header, uint64_t bytes) {
    const uint64_t mb = (bytes + (uint64_t(1) << 20) - 1) >> 20;
    return "too large (" + std::to_string(header.width()) + " x " +
           std::to_string(header.height()) + ", " + std::to_string(mb) + " MB)";
}

// The header through the type's own loader; throws vips::VError when it cannot be read.
VImage loadHeader(const std::string& path, PictureType type, const PictureRequest& request) {
    VImage image;
    vips::VOption* options =
        VImage::option()->set("filename", path.c_str())->set("access", VIPS_ACCESS_SEQUENTIAL);
    if (type == PictureType::kJpeg && request.shrink > 1) options->set("shrink", request.shrink);
    if (type != PictureType::kJpeg && request.cutShortFails)
        options->set("fail_on", VIPS_FAIL_ON_TRUNCATED);
    options->set("out", &image);
    VImage::call(std::string(PictureTypeInfoOf(type).loader).c_str(), options);
    return image;
}

}  // namespace

OpenedPicture OpenPictureHeader(const std::string& path, PictureType type,
                                const PictureRequest& request) {
    OpenedPicture opened;
    const PictureTypeInfo& info = PictureTypeInfoOf(type);
    const std::string notThisType = "not a " + std::string(info.name) + " picture";
    if (info.kind != PictureKind::kPicture || info.loader.empty()) {
        opened.problem = notThisType;
        return opened;
    }
    // The loader is named, never chosen from the content: a file that only claims to be
    // of the type must not reach a loader of another format.
    {
        const auto file = FileByteSource::open(path);
        if (file == nullptr) {
            opened.problem = "not a readable file";
            return opened;
        }
        if (!BytesFitPictureType(*file, type)) {
            opened.problem = notThisType;
            return opened;
        }
    }
    PictureErrors errors;
    try {
        opened.image = loadHeader(path, type, request);
    } catch (const vips::VError&) {
        opened.image = VImage();
        opened.problem = errors.reason("not a readable " + std::string(info.name) + " picture",
                                       [&] { loadHeader(path, type, request); });
    }
    return opened;
}

uint64_t DecodedBytes(const VImage& header, int shrink) {
    const uint64_t by = uint64_t(std::max(shrink, 1));
    return (uint64_t(header.width()) + by - 1) / by * ((uint64_t(header.height()) + by - 1) / by) *
           uint64_t(header.bands()) * uint64_t(vips_format_sizeof(header.format()));
}

OpenedPicture DecodePicture(const VImage& header, const PictureLimits& budget, PictureType type,
                            const PictureRequest& request) {
    OpenedPicture decoded;
    const uint64_t bytes = DecodedBytes(header);
    if (header.width() <= 0 || header.height() <= 0) {
        decoded.problem = "the picture has no size";
        return decoded;
    }
    if (bytes > budget.maxPictureBytes) {
        decoded.problem = tooLarge(header, bytes);
        return decoded;
    }
    if (budget.isAbandoned()) {
        decoded.problem = "no longer wanted";
        return decoded;
    }
    PictureErrors errors;
    try {
        decoded.image = header.copy_memory();
    } catch (const vips::VError&) {
        decoded.image = VImage();
        // Learnt again from the start: the failed read cannot be taken up where it stopped.
        const std::string path = header.filename() != nullptr ? header.filename() : "";
        decoded.problem = errors.reason(
            "the " + std::string(PictureTypeInfoOf(type).name) + " picture is damaged or cut short",
            [&] { loadHeader(path, type, request).copy_memory(); });
    }
    return decoded;
}

OpenedPicture OpenPicture(const std::string& path, PictureType type, const PictureLimits& budget,
                          const PictureRequest& request) {
    PictureErrors errors;
    OpenedPicture opened = OpenPictureHeader(path, type, request);
    if (!opened) return opened;
    return DecodePicture(opened.image, budget, type, request);
}

}  // namespace corvelle
