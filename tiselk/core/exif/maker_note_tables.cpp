// Report rows of the maker notes the program decodes. Labels are the program's own texts
// as they have always been shown ("White Balence", "Lanscape" and the rest included).
#include "core/exif/maker_note_tables.h"

namespace corvelle {

namespace {

using A = RowArguments;

// Nikon, first layout.
constexpr ValueName kNikonImageModeNames[] = {
    {1, "VGA Basic"},          {2, "VGA Normal"},          {3, "VGA Fine"},
    {4, "XGA Basic"},          {5, "XGA Normal"},          {6, "XGA Fine"},
    {7, "double VGA Basic"},   {8, "double VGA Normal"},   {9, "double VGA Fine"},
    {10, "double SVGA Basic"}, {11, "double SVGA Normal"}, {12, "double SVGA Fine"},
    {20, "Hi(Uncompress)"}};
constexpr ValueNames kNikonImageMode{kNikonImageModeNames, "Unknown"};

constexpr ValueName kNikonWhiteBalanceNames[] = {
    {0, "Auto"},        {1, "Preset"}, {2, "Daylight"},         {3, "Incandscent"},
    {4, "Fluorescent"}, {5, "Cloudy"}, {6, "SpeedLight(Flash)"}};
constexpr ValueNames kNikonWhiteBalance{kNikonWhiteBalanceNames, "unknown"};

constexpr ReportRow kNikonFirstRows[] = {
    {0x0002, A::Text, "Unknown tag = \"%s\"\r\n"},
    {0x0003, A::Named, "Image Mode = %s\r\n", 0, &kNikonImageMode},
    {0x0004, A::Named, "Image Tone = %s\r\n", 0, &kImageTone},
    {0x0005, A::Named, "Image adjustment = %s\r\n", 0, &kAdjustment},
    {0x0007, A::Named, "White Balence = %s\r\n", 0, &kNikonWhiteBalance},
    {0x0008, A::FocusDistance, "Focus Distance = %s m\r\n"},
    {0x000A, A::DigitalZoom, "Digital Zoom = x%s\r\n"},
    {0x000B, A::Named, "Lens Converter = %s\r\n", 0, &kLensConverter},
};

// Nikon, second layout.
constexpr ValueName kFocusPositionNames[] = {
    {0, "Center"}, {1, "Top"}, {2, "Bottom"}, {3, "Left"}, {4, "Right"}};
constexpr ValueNames kFocusPosition{kFocusPositionNames, "Unknown"};

constexpr ReportRow kNikonSecondRows[] = {
    {0x0001, A::Bytes, "Maker Header version? = %c%c%c%c\r\n"},
    {0x0003, A::Text, "Color Mode = %s\r\n"},
    {0x0004, A::Text, "Image Quality = %s\r\n"},
    {0x0005, A::Text, "White Balence = %s\r\n"},
    {0x0006, A::Text, "Image Sharpness = %s\r\n"},
    {0x0007, A::Text, "Image Focus mode = %s\r\n"},
    {0x0008, A::Text, "Flash setting = %s\r\n"},
    {0x0009, A::TagText, "Tag number 0x%x = %s\r\n"},
    {0x0081, A::TagText, "Tag number 0x%x = %s\r\n"},
    {0x000B, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x000D, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x000E, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x0083, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x0087, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x0089, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x008A, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x008B, A::TagValue, "Tag number 0x%x = 0x%08x\r\n"},
    {0x000C, A::TagDecimal, "Tag number 0x%x = %s\r\n"},
    {0x0084, A::TagDecimal, "Tag number 0x%x = %s\r\n"},
    {0x000F, A::Text, "ISO setting = %s\r\n"},
    {0x0080, A::Text, "Image Adjustment = %s\r\n"},
    {0x0082, A::Text, "Lens Adapter = %s\r\n"},
    {0x0085, A::Value, "Manual focus distance = %im\r\n"},
    {0x0086, A::Decimal, "Digital zoom = %s\r\n", 1},
    {0x0088, A::NamedSecondByte, "AF Focus position = %s\r\n", 0, &kFocusPosition},
};

// Olympus.
constexpr ValueName kOlympusQualityNames[] = {{1, "SQ"}, {2, "HQ"}, {3, "SHQ"}, {4, "Tiff"}};
constexpr ValueNames kOlympusQuality{kOlympusQualityNames, "unknown"};

constexpr ValueName kOffOnNames[] = {{0, "Off"}};
constexpr ValueNames kOffOn{kOffOnNames, "On"};

constexpr ReportRow kOlympusRows[] = {
    {0x0200, A::OlympusSpecialMode, ""},
    {0x0201, A::Named, "Image Quality %s\r\n", 0, &kOlympusQuality},
    {0x0202, A::Named, "Macro mode %s\r\n", 0, &kOffOn},
    {0x0207, A::Text, "Firmware version = %s\r\n"},
    {0x0208, A::Text, "Picture info = %s\r\n"},
    {0x0209, A::Text, "Camera ID = %s\r\n"},
};

// Fujifilm.
constexpr ValueName kFujiSharpnessNames[] = {{1, "soft"}, {3, "normal"}, {5, "hard"}};
constexpr ValueNames kFujiSharpness{kFujiSharpnessNames, "unknown"};

constexpr ValueName kFujiWhiteBalanceNames[] = {{0, "Auto"},
                                                {256, "Daylight"},
                                                {512, "Cloudy"},
                                                {768, "Daylight-flourescence"},
                                                {769, "Daywhite-fluorescence"},
                                                {770, "White-fluorescence"},
                                                {1024, "Incandenscence"},
                                                {3840, "Custom white balence"}};
constexpr ValueNames kFujiWhiteBalance{kFujiWhiteBalanceNames, "unknown"};

constexpr ValueName kFujiFlashNames[] = {
    {0, "Auto"}, {1, "On"}, {2, "Off"}, {3, "Red-eye-reduction"}};
constexpr ValueNames kFujiFlash{kFujiFlashNames, "unknown"};

constexpr ValueName kFujiFocusNames[] = {{0, "Auto"}};
constexpr ValueNames kFujiFocus{kFujiFocusNames, "Manual"};

constexpr ValueName kFujiPictureModeNames[] = {
    {0, "Auto"},          {1, "Portrait"},     {2, "Lanscape"},
    {4, "Sports"},        {5, "Night"},        {6, "Program AE"},
    {256, "Aperture AE"}, {512, "Shutter AE"}, {768, "Manual Exposure"}};
constexpr ValueNames kFujiPictureMode{kFujiPictureModeNames, "unknown"};

constexpr ReportRow kFujifilmRows[] = {
    {0x0000, A::Bytes, "Maker Header version? = %c%c%c%c\r\n"},
    {0x1000, A::Text, "Image Quality = %s\r\n"},
    {0x1001, A::Named, "Image Sharpness = %s\r\n", 0, &kFujiSharpness},
    {0x1002, A::Named, "White Balence = %s\r\n", 0, &kFujiWhiteBalance},
    {0x1010, A::Named, "Flash mode = %s\r\n", 0, &kFujiFlash},
    {0x1011, A::Decimal, "Flash Strength Compensation = %s\r\n", 1},
    {0x1020, A::Named, "Macro mode = %s\r\n", 0, &kOffOn},
    {0x1021, A::Named, "Focusing mode = %s\r\n", 0, &kFujiFocus},
    {0x1030, A::Named, "Slow Sync = %s\r\n", 0, &kOffOn},
    {0x1031, A::Named, "Picture mode = %s\r\n", 0, &kFujiPictureMode},
    {0x1100, A::Named, "Continuous shot/Braketting mode = %s\r\n", 0, &kOffOn},
    {0x1300, A::Flag, "Blue warning On\r\n"},
    {0x1301, A::Flag, "Out of focus occurs\r\n"},
    {0x1302, A::Flag, "Over Exposure occurs\r\n"},
};

}  // namespace

constexpr auto kNikonFirstByTag = SortedByTag(kNikonFirstRows);
constexpr auto kNikonSecondByTag = SortedByTag(kNikonSecondRows);
constexpr auto kOlympusByTag = SortedByTag(kOlympusRows);
constexpr auto kFujifilmByTag = SortedByTag(kFujifilmRows);

std::span<const ReportRow> NikonFirstNoteRows() { return kNikonFirstByTag; }
std::span<const ReportRow> NikonSecondNoteRows() { return kNikonSecondByTag; }
std::span<const ReportRow> OlympusNoteRows() { return kOlympusByTag; }
std::span<const ReportRow> FujifilmNoteRows() { return kFujifilmByTag; }

}  // namespace corvelle
