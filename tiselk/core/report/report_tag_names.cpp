// Names for the tags of today's pictures that reach the unknown-tag line: the line keeps its
// value part and shows the name instead of the number.
#include "core/report/report_tag_names.h"

#include <algorithm>
#include <iterator>

namespace corvelle {

namespace {

struct TagName {
    uint16_t tag;
    const char* name;
};

// In tag order, for a binary search.
constexpr TagName kTodaysTagNames[] = {
    {0x4746, "Rating"},
    {0x4749, "RatingPercent"},
    {0x8830, "SensitivityType"},
    {0x8831, "StandardOutputSensitivity"},
    {0x8832, "RecommendedExposureIndex"},
    {0x8833, "ISOSpeed"},
    {0x8834, "ISOSpeedLatitudeyyy"},
    {0x8835, "ISOSpeedLatitudezzz"},
    {0x9010, "OffsetTime"},
    {0x9011, "OffsetTimeOriginal"},
    {0x9012, "OffsetTimeDigitized"},
    {0x9400, "Temperature"},
    {0x9401, "Humidity"},
    {0x9402, "Pressure"},
    {0x9403, "WaterDepth"},
    {0x9404, "Acceleration"},
    {0x9405, "CameraElevationAngle"},
    {0xA401, "CustomRendered"},
    {0xA402, "ExposureMode"},
    {0xA403, "WhiteBalance"},
    {0xA404, "DigitalZoomRatio"},
    {0xA405, "FocalLengthIn35mmFilm"},
    {0xA406, "SceneCaptureType"},
    {0xA407, "GainControl"},
    {0xA408, "Contrast"},
    {0xA409, "Saturation"},
    {0xA40A, "Sharpness"},
    {0xA40B, "DeviceSettingDescription"},
    {0xA40C, "SubjectDistanceRange"},
    {0xA420, "ImageUniqueID"},
    {0xA430, "CameraOwnerName"},
    {0xA431, "BodySerialNumber"},
    {0xA432, "LensSpecification"},
    {0xA433, "LensMake"},
    {0xA434, "LensModel"},
    {0xA435, "LensSerialNumber"},
    {0xA436, "ImageTitle"},
    {0xA437, "Photographer"},
    {0xA438, "ImageEditor"},
    {0xA439, "CameraFirmware"},
    {0xA43A, "RAWDevelopingSoftware"},
    {0xA43B, "ImageEditingSoftware"},
    {0xA43C, "MetadataEditingSoftware"},
    {0xA460, "CompositeImage"},
    {0xA461, "SourceImageNumberOfCompositeImage"},
    {0xA462, "SourceExposureTimesOfCompositeImage"},
    {0xA500, "Gamma"},
    {0xC612, "DNGVersion"},
    {0xC614, "UniqueCameraModel"},
};

static_assert(std::is_sorted(std::begin(kTodaysTagNames), std::end(kTodaysTagNames),
                             [](const TagName& a, const TagName& b) { return a.tag < b.tag; }));

}  // namespace

const char* TodaysTagName(uint16_t tag) {
    const auto* found =
        std::lower_bound(std::begin(kTodaysTagNames), std::end(kTodaysTagNames), tag,
                         [](const TagName& entry, uint16_t wanted) { return entry.tag < wanted; });
    return found != std::end(kTodaysTagNames) && found->tag == tag ? found->name : nullptr;
}

}  // namespace corvelle
