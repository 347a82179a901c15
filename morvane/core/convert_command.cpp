#include "core/convert_command.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <new>

#include "core/jpeg_file.h"
#include "core/photo_file.h"
#include "core/photo_save.h"

namespace corvelle {

namespace {

const std::string kConvertEndings = ".jpg, .jpeg, .bmp, .png or .tif";

ConvertResult failure(const std::string& path, const std::string& reason) {
    return {false, path + ": " + reason};
}

ConvertResult convert(const ConvertRequest& request);

}  // namespace

ConvertResult RunConvert(const ConvertRequest& request) {
    try {
        return convert(request);
    } catch (const std::bad_alloc&) {
        return failure(request.input, "out of memory");
    }
}

namespace {

ConvertResult convert(const ConvertRequest& request) {
    const ConvertOutputKind kind = ConvertOutputKindFor(request.output);
    if (kind == ConvertOutputKind::kUnknown)
        return failure(request.output, "cannot write: the name must end in " + kConvertEndings);

    std::string error;
    std::optional<LoadedPhoto> photo = LoadPhotoFile(request.input, &error);
    if (!photo) return failure(request.input, error);
    DeepPixels* deep = photo->deep ? &*photo->deep : nullptr;
    if (request.denoise && photo->dib.bitCount() == 24)
        ApplyNoiseFilter(*request.denoise, photo->dib, nullptr, deep);

    if (kind == ConvertOutputKind::kGray16Png || kind == ConvertOutputKind::kGray16Tiff) {
        PhotoToSave what;
        what.photo = &photo->dib;
        what.deep = deep;
        what.frame = TrimFrameInPicture(photo->dib.width(), photo->dib.height(),
                                        request.trimSize, request.trimOffset);
        const PhotoSaveFormat format = kind == ConvertOutputKind::kGray16Png
                                           ? PhotoSaveFormat::kGray16Png
                                           : PhotoSaveFormat::kGray16Tiff;
        if (!SavePhoto(request.output, format, what, &error))
            return failure(request.output, error);
        return {true, {}};
    }

    std::optional<PackedDib> picture = std::move(photo->dib);

    if (request.gray && picture->bitCount() == 24) {
        picture = RenderHighLevelGray(*picture, *request.gray);
        if (!picture) return failure(request.input, "out of memory for the gray rendering");
    }

    if (request.trimSize != kTrimNone) {
        const DibRect frame = TrimFrameInPicture(picture->width(), picture->height(),
                                                 request.trimSize, request.trimOffset);
        if (frame.width() > 0 && frame.height() > 0) {
            picture = CropDib(*picture, frame);
            if (!picture) return failure(request.input, "out of memory for the trimmed picture");
        }
    }

    if (kind == ConvertOutputKind::kBmp) {
        errno = 0;
        if (!WriteBmpFile(request.output, *picture))
            return failure(request.output,
                           std::string("cannot write: ") +
                               (errno != 0 ? std::strerror(errno) : "write failed"));
        return {true, {}};
    }
    if (!SaveJpegFile(request.output, *picture, request.quality, &error))
        return failure(request.output, error);
    return {true, {}};
}

}  // namespace

}  // namespace corvelle
