#include "core/report/file_info.h"

#include "core/exif/exif_numbers.h"
#include "core/exif/exif_reader.h"

namespace corvelle {

namespace {

FileInfo InfoFromSummary(const std::string& path, ExifSummary summary) {
    FileInfo info;
    info.path = path;
    info.summary = std::move(summary);
    info.lightValue = ShownLightValue(info.summary);
    if (info.lightValue) info.summary.lightValue = std::to_string(*info.lightValue);
    info.summaryText = BuildSummaryText(info.summary, info.lightValue);
    info.fileSizeText = FormatFileSize(info.summary.fileSize);
    info.imageSizeText = ImageSizeText(info.summary.width, info.summary.height);
    return info;
}

// Reads the metadata only: a coded thumbnail item is left for the window to decode.
FileInfo ReadInfo(ByteSource& source, const std::string& path, ThumbnailBytes thumbnail) {
    ExifSummary summary;
    summary.fileSize = static_cast<int64_t>(source.size());
    const MetadataPlaces places = FindMetadataPlaces(source, path);
    for (const MetadataPlace& place : places.blocks) Parse(source, place, summary, thumbnail);
    if (places.gathered) Parse(*places.gathered, summary, thumbnail);
    if (thumbnail == ThumbnailBytes::Copy && summary.thumbnailJpeg.empty() &&
        places.thumbnailJpeg) {
        std::vector<uint8_t> bytes(size_t(places.thumbnailJpeg->length));
        if (source.readAt(places.thumbnailJpeg->base, bytes.data(), bytes.size()) == bytes.size())
            summary.thumbnailJpeg = std::move(bytes);
    }
    FileInfo info = InfoFromSummary(path, std::move(summary));
    info.codedThumbnailItem = info.summary.thumbnailJpeg.empty() && places.codedThumbnailItem;
    return info;
}

}  // namespace

FileInfo ReadFileInfo(const std::string& path, ThumbnailBytes thumbnail) {
    const std::unique_ptr<ByteSource> source = OpenPictureForMetadata(path);
    return source ? ReadInfo(*source, path, thumbnail) : InfoFromSummary(path, {});
}

FileInfo ReadFileInfo(ByteSource& source, const std::string& path, ThumbnailBytes thumbnail) {
    return ReadInfo(source, path, thumbnail);
}

std::optional<int> ShownLightValue(const ExifSummary& summary) {
    if (summary.exposureSeconds == 0 || summary.fNumber == 0) return std::nullopt;
    return ComputeLightValue(summary.exposureSeconds, summary.fNumber, summary.iso);
}

std::string BuildSummaryText(const ExifSummary& summary, std::optional<int> lightValue) {
    std::string text = "모델명 :        " + summary.model;
    text += "\r\nISO  :         " + summary.iso;
    text += "\r\n조리개 :       " + summary.aperture;
    text += "\r\n셔터 :         " + summary.shutter;
    text += "\r\nEV 보정 :      " + summary.exposureBias;
    text += "\r\nFocal Length : " + summary.focalLength;
    if (lightValue) text += "\r\nLV :        " + std::to_string(*lightValue);
    return text;
}

std::string FormatFileSize(int64_t bytes) {
    if (bytes < 0) bytes = 0;
    std::string digits = std::to_string(bytes);
    std::string text;
    const size_t lead = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    text = digits.substr(0, lead);
    for (size_t i = lead; i < digits.size(); i += 3) text += "," + digits.substr(i, 3);
    return text + " bytes";
}

std::string ImageSizeText(uint32_t width, uint32_t height) {
    if (width == 0 || height == 0) return {};
    return std::to_string(static_cast<int32_t>(width)) + " x " +
           std::to_string(static_cast<int32_t>(height));
}

// Joined only when shown: a JSON run writes the lines one by one.
std::string ReportBoxText(const FileInfo& info) {
    std::string joined = JoinReport(info.summary);
    return joined.empty() ? std::string("No Exif Informations") : joined;
}

std::vector<PanelField> PanelFields(const FileInfo& info) {
    const ExifSummary& s = info.summary;
    return {
        {"Model", s.model},
        {"ISO", s.iso},
        {"Time", s.dateTime},
        {"Exif Ver.", s.exifVersion},
        {"File size", info.fileSizeText},
        {"Flash", s.flash},
        {"Image w/h", info.imageSizeText},
        {"Exposure", s.aperture},
        {"Metering", s.metering},
        {"Exp. Bias", s.exposureBias},
        {"Focal Length", s.focalLength},
        {"Shutter", s.shutter},
        {"Light Value ", s.lightValue},
    };
}

}  // namespace corvelle
