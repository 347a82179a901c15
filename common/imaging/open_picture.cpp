#include "imaging/open_picture.h"

#include <memory>

#include "core/byte_source.h"

namespace corvelle {

namespace {

using vips::VImage;

std::string tooLarge(const VImage& header, uint64_t bytes) {
    const uint64_t mb = (bytes + (uint64_t(1) << 20) - 1) >> 20;
    return "too large (" + std::to_string(header.width()) + " x " +
           std::to_string(header.height()) + ", " + std::to_string(mb) + " MB)";
}

}  // namespace

OpenedPicture OpenPictureHeader(const std::string& path, PictureType type, int shrink) {
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
    const std::string loader(info.loader);
    try {
        vips::VOption* options =
            VImage::option()->set("filename", path.c_str())->set("access", VIPS_ACCESS_SEQUENTIAL);
        if (type == PictureType::kJpeg && shrink > 1) options->set("shrink", shrink);
        options->set("out", &opened.image);
        VImage::call(loader.c_str(), options);
    } catch (const vips::VError& e) {
        opened.image = VImage();
        opened.problem = e.what();
        vips_error_clear();
        if (opened.problem.empty())
            opened.problem = "not a readable " + std::string(info.name) + " picture";
    }
    return opened;
}

uint64_t DecodedBytes(const VImage& header) {
    return uint64_t(header.width()) * uint64_t(header.height()) * uint64_t(header.bands()) *
           uint64_t(vips_format_sizeof(header.format()));
}

OpenedPicture DecodePicture(const VImage& header, const PictureLimits& budget) {
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
    try {
        decoded.image = header.copy_memory();
    } catch (const vips::VError& e) {
        decoded.image = VImage();
        decoded.problem = e.what();
        vips_error_clear();
        if (decoded.problem.empty()) decoded.problem = "the picture's data cannot be decoded";
    }
    return decoded;
}

OpenedPicture OpenPicture(const std::string& path, PictureType type, const PictureLimits& budget,
                          int shrink) {
    OpenedPicture opened = OpenPictureHeader(path, type, shrink);
    if (!opened) return opened;
    return DecodePicture(opened.image, budget);
}

}  // namespace corvelle
