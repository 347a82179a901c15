#include "core/decoding/picture_decoding.h"

#include "core/byte_source.h"
#include "core/decoding/byte_window.h"
#include "core/decoding/imaging_decoder.h"
#include "core/decoding/raw_preview.h"
#include "core/iso_media_metadata.h"
#include "core/picture_container.h"
#include "core/picture_types.h"

namespace corvelle {

PictureFormat PictureFormatForPath(const std::string& path) {
    const std::optional<PictureType> type =
        PictureTypeOfName(path, PictureNameRule::kJpgOrJpegAnywhere);
    if (type == PictureType::kJpeg) return PictureFormat::kJpeg;
    // A NEF's first TIFF image is a small RGB picture; the other TIFF-based raw files'
    // images are sensor data.
    if (type && type != PictureType::kNef && PictureTypeInfoOf(*type).kind == PictureKind::kRaw &&
        PictureTypeInfoOf(*type).container == PictureContainer::kTiff)
        return PictureFormat::kRawPreview;
    return PictureFormat::kTiff;
}

namespace {

// The first of the JPEG pictures that decodes. Pictures that do not (a DNG's lossless
// sensor data also begins FF D8) are passed over without a message.
std::optional<PackedDib> DecodeFirstJpeg(const ByteSource& file,
                                         const std::vector<ByteRange>& pictures,
                                         const JpegMessageSink& messages,
                                         const PictureLimits& limits) {
    for (const ByteRange& range : pictures) {
        ByteWindow window(file, range);
        std::vector<std::string> said;
        auto picture = DecodeJpeg(
            window, [&](const std::string& m) { said.push_back(m); }, limits);
        if (!picture) continue;
        if (messages)
            for (const std::string& message : said) messages(message);
        return picture;
    }
    return std::nullopt;
}

std::vector<ByteRange> CanonRawPictures(const ByteSource& file) {
    const IsoMediaMetadata media = ReadIsoMediaMetadata(file);
    std::vector<ByteRange> pictures;
    for (const auto& range : {media.previewJpeg, media.thumbnailJpeg})
        if (range) pictures.push_back(*range);
    return pictures;
}

}  // namespace

PictureRoute RouteOf(const std::string& path, const ByteSource& file) {
    const std::optional<PictureType> byName =
        PictureTypeOfName(path, PictureNameRule::kJpgOrJpegAnywhere);
    switch (ContainerToRead(byName, SniffPictureContainer(file))) {
        case PictureContainer::kJpeg:
            return PictureRoute::kJpeg;
        case PictureContainer::kPng:
            return PictureRoute::kPng;
        case PictureContainer::kWebp:
            return PictureRoute::kWebp;
        case PictureContainer::kIsoMedia:
            return PictureRoute::kIsoMedia;
        default:
            return PictureFormatForPath(path) == PictureFormat::kRawPreview
                       ? PictureRoute::kRawPreview
                       : PictureRoute::kTiff;
    }
}

std::optional<PackedDib> DecodePicture(const std::string& path, const JpegMessageSink& messages,
                                       const PictureLimits& limits) {
    const auto source = FileByteSource::open(path);
    if (!source) return std::nullopt;
    switch (RouteOf(path, *source)) {
        case PictureRoute::kJpeg:
            return DecodeJpeg(*source, messages, limits);
        case PictureRoute::kPng:
            return DecodeWithImagingLibrary(path, PictureType::kPng, limits);
        case PictureRoute::kWebp:
            return DecodeWithImagingLibrary(path, PictureType::kWebp, limits);
        case PictureRoute::kIsoMedia: {
            const std::vector<ByteRange> previews = CanonRawPictures(*source);
            if (!previews.empty()) return DecodeFirstJpeg(*source, previews, messages, limits);
            // HEIC, HEIF and AVIF share one loader.
            return DecodeWithImagingLibrary(path, PictureType::kHeic, limits);
        }
        case PictureRoute::kRawPreview:
            // A raw file without a usable JPEG still has its first TIFF image, often a small
            // RGB one.
            if (auto preview =
                    DecodeFirstJpeg(*source, EmbeddedJpegPictures(*source), messages, limits))
                return preview;
            break;
        case PictureRoute::kTiff:
            break;
    }
    return DecodeTiff(*source, limits);
}

}  // namespace corvelle
