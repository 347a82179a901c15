#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/byte_source.h"
#include "core/exif/exif_reader.h"
#include "core/exif/exif_summary.h"

namespace corvelle {

// Everything the dialog shows for one picture file, read from its metadata alone.
struct FileInfo {
    std::string path;
    ExifSummary summary;  // summary.lightValue is filled when a light value was computed
    std::optional<int> lightValue;
    std::string summaryText;    // for the clipboard
    std::string fileSizeText;   // "1,234,567 bytes"
    std::string imageSizeText;  // "640 x 480", or empty
    // The thumbnail is a HEIF item in another coding (HEVC, AV1): reading the information
    // never decodes it, the window does when it shows the file.
    bool codedThumbnailItem = false;
};

// Loads the file's metadata block, parses it and builds the texts. No picture is decoded;
// the thumbnail's bytes are copied out unless left.
FileInfo ReadFileInfo(const std::string& path, ThumbnailBytes thumbnail = ThumbnailBytes::Copy);
// The same for bytes at hand (a fuzzer's input): `path` names the file for the rules that
// go by the name.
FileInfo ReadFileInfo(ByteSource& source, const std::string& path,
                      ThumbnailBytes thumbnail = ThumbnailBytes::Copy);

// The light value when both the exposure time and the F-number are known.
std::optional<int> ShownLightValue(const ExifSummary& summary);

// The clipboard text: model, ISO, aperture, shutter, exposure bias, focal length, and the
// light value line when there is one.
std::string BuildSummaryText(const ExifSummary& summary, std::optional<int> lightValue);

// 1234567 gives "1,234,567 bytes".
std::string FormatFileSize(int64_t bytes);

// "%i x %i" when both are known, else empty.
std::string ImageSizeText(uint32_t width, uint32_t height);

// What the report box shows: the joined report, or "No Exif Informations" when it is empty.
std::string ReportBoxText(const FileInfo& info);

// The " Basic Information " group as label and value, in the group's order.
struct PanelField {
    const char* label;
    std::string value;
};
std::vector<PanelField> PanelFields(const FileInfo& info);

}  // namespace corvelle
