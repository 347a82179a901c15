#include "core/photo_save.h"

#include "core/gray16_files.h"
#include "core/jpeg_file.h"
#include "core/text.h"

namespace corvelle {

const char* PhotoSaveExtension(PhotoSaveFormat format) {
    switch (format) {
        case PhotoSaveFormat::kGray16Png:
            return ".png";
        case PhotoSaveFormat::kGray16Tiff:
            return ".tif";
        case PhotoSaveFormat::kJpeg:
            break;
    }
    return ".jpg";
}

bool SavePhoto(const std::string& path, PhotoSaveFormat format, const PhotoToSave& what,
               std::string* errorMessage) {
    const bool framed = what.frame.width() > 0 && what.frame.height() > 0;
    if (format == PhotoSaveFormat::kJpeg) {
        if (what.shown == nullptr) return false;
        if (!framed) return SaveJpegFile(path, *what.shown, what.quality, errorMessage);
        const std::optional<PackedDib> cut = CropDib(*what.shown, what.frame);
        if (!cut) {
            if (errorMessage != nullptr) *errorMessage = "cannot write: the frame is outside the picture";
            return false;
        }
        return SaveJpegFile(path, *cut, what.quality, errorMessage);
    }
    if (what.photo == nullptr) return false;
    const std::optional<Gray16Picture> gray = Gray16FromPhoto(*what.photo, what.deep, what.frame);
    if (!gray) {
        if (errorMessage != nullptr) *errorMessage = "cannot write: no 16-bit gray of this picture";
        return false;
    }
    return format == PhotoSaveFormat::kGray16Png ? SaveGray16Png(path, *gray, errorMessage)
                                                  : SaveGray16Tiff(path, *gray, errorMessage);
}

}  // namespace corvelle
