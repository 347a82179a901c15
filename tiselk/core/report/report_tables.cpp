// The tag report's rows for the file's own directories. Labels are the program's own
// texts, spelled as they have always been shown ("monochome", "White Balence" included).
#include "core/report/report_rows.h"

namespace corvelle {

namespace {

using A = RowArguments;

constexpr ValueName kCompressionNames[] = {{6, "JPEG"}};
constexpr ValueNames kCompression{kCompressionNames, "no"};

constexpr ValueName kPhotometricNames[] = {{1, "monochome"}, {2, "RGB"}, {6, "YCbCr"}};
constexpr ValueNames kPhotometric{kPhotometricNames, "unknown"};

constexpr ValueName kOrientationNames[] = {
    {1, "upper left"}, {3, "lower right"}, {6, "upper right"}, {8, "lower left"}, {9, "undefined"}};
constexpr ValueNames kOrientation{kOrientationNames, "unknown"};

constexpr ValueName kPlanarNames[] = {{1, "Y/Cb/Cr"}};
constexpr ValueNames kPlanar{kPlanarNames, "plane"};

constexpr ValueName kResolutionUnitNames[] = {{2, "Inch"}};
constexpr ValueNames kResolutionUnit{kResolutionUnitNames, "cm"};

constexpr ValueName kPositioningNames[] = {{1, "center of pixel"}};
constexpr ValueNames kPositioning{kPositioningNames, "datum point"};

constexpr ValueName kExposureProgramNames[] = {{1, "manual control"},    {2, "program normal"},
                                               {3, "aperture priority"}, {4, "shutter priority"},
                                               {5, "program aperture"},  {6, "program shutter"},
                                               {7, "portrait mode"},     {8, "landscape mode"}};
constexpr ValueNames kExposureProgram{kExposureProgramNames, "unknown"};

constexpr ValueName kLightSourceNames[] = {
    {0, "auto"}, {1, "daylight"}, {2, "fluorescent"}, {3, "tungsten"}, {10, "flash"}};
constexpr ValueNames kLightSource{kLightSourceNames, "unknown"};

constexpr ValueName kFocalPlaneUnitNames[] = {
    {1, "inch"}, {2, "meter"}, {3, "centi-meter"}, {4, "milli-meter"}, {5, "micro-meter"}};
constexpr ValueNames kFocalPlaneUnit{kFocalPlaneUnitNames, "unknown"};

constexpr ValueName kSensingMethodNames[] = {{2, "one chip color area sensor"}};
constexpr ValueNames kSensingMethod{kSensingMethodNames, "unknown"};

constexpr ValueName kImageModeNames[] = {
    {1, "VGA Basic"},          {2, "VGA Normal"},          {3, "VGA Fine"},
    {4, "XGA Basic"},          {5, "XGA Normal"},          {6, "XGA Fine"},
    {7, "double VGA Basic"},   {8, "double VGA Normal"},   {9, "double VGA Fine"},
    {10, "double SVGA Basic"}, {11, "double SVGA Normal"}, {12, "double SVGA Fine"}};
constexpr ValueNames kImageMode{kImageModeNames, "Unknown"};

constexpr ValueName kWhiteBalanceNames[] = {
    {0, "Auto"},   {1, "Preset"},           {2, "Sunny"}, {3, "Incandscent"}, {4, "Fluorescent"},
    {5, "Cloudy"}, {6, "SpeedLight(Flash)"}};
constexpr ValueNames kWhiteBalance{kWhiteBalanceNames, "unknown"};

constexpr ReportRow kRows[] = {
    // Image structure (TIFF baseline).
    {0x0100, A::Value, "Thumb Image Width = %i\r\n"},
    {0x0101, A::Value, "Thumb Image Height = %i\r\n"},
    {0x0102, A::Shorts, "BitsPerSample = %i, %i, %i\r\n", 3},
    {0x0103, A::Named, "Compression = %s\r\n", 0, &kCompression},
    {0x0106, A::Named, "PhotometricInterpretation = %s\r\n", 0, &kPhotometric},
    {0x010A, A::None, "FillOrder\r\n"},
    {0x010D, A::Text, "DocumentName = %s\r\n"},
    {0x010E, A::Text, "ImageDescription = \"%s\"\r\n"},
    {0x010F, A::Text, "Maker = \"%s\"\r\n"},
    {0x0111, A::Value, "StripOffsets = %i\r\n"},
    {0x0112, A::Named, "Orientation = %s\r\n", 0, &kOrientation},
    {0x0115, A::Value, "SamplesPerPixel = %i\r\n"},
    {0x0116, A::Value, "RowsPerStrip = %i\r\n"},
    {0x0117, A::Value, "StripByteCounts = %i\r\n"},
    {0x011A, A::UnsignedRatio, "XResolution = %i\r\n"},
    {0x011B, A::UnsignedRatio, "YResolution = %i\r\n"},
    {0x011C, A::Named, "PlanarConfiguration = %s\r\n", 0, &kPlanar},
    {0x0128, A::Named, "ResolutionUnit = %s\r\n", 0, &kResolutionUnit},
    {0x012D, A::Shorts, "TransferFunction = %i, %i, %i\r\n", 3},
    {0x0131, A::Text, "Firmware version = \"%s\"\r\n"},
    {0x0132, A::Text, "DateTime = %s\r\n"},
    {0x013B, A::Text, "Artist = \"%s\"\r\n"},
    {0x013D, A::Value, "Predictor = %i\r\n"},
    {0x013E, A::Longs, "WhitePoint = %i/%i\r\n", 2},
    {0x013F, A::Longs, "PrimaryChromaticities = %i,%i,%i,%i,%i,%i\r\n", 6},
    {0x0142, A::Value, "TileWidth = %i\r\n"},
    {0x0143, A::Value, "TileHeight = %i\r\n"},
    {0x0144, A::Value, "TileOffsets = %i\r\n"},
    {0x0145, A::Value, "TileByteCounts = %i\r\n"},
    {0x014A, A::Value, "SubIFDs = %i\r\n"},
    {0x0156, A::None, "TransferRange\r\n"},
    {0x015B, A::None, "JPEGTables\r\n"},
    {0x8298, A::Text, "Copyright = \"%s\"\r\n"},
    {0x83BB, A::Value, "IPTC/NAA = %i\r\n"},
    {0x8769, A::None, "ExifOffset is Exist\r\n"},
    {0x8773, A::Value, "InterColorProfile = %i\r\n"},
    {0x8825, A::Value, "GPSInfo = %i\r\n"},

    // JPEG and YCbCr.
    {0x0200, A::None, "JPEGProc\r\n"},
    {0x0203, A::Value, "tag 0x203 = %i\r\n"},
    {0x0204, A::Longs, "tag 0x204 = %i/%i\r\n", 2},
    {0x0205, A::Longs, "tag 0x205 = %i/%i\r\n", 2},
    {0x0206, A::Shorts, "tag 0x206 = %i,%i,%i,%i,%i,%i\r\n", 6},
    {0x0207, A::Text, "tag 0x207 = %s\r\n"},
    {0x0208, A::Text, "tag 0x208 = %s\r\n"},
    {0x0209, A::Text, "tag 0x209 = %s\r\n"},
    {0x0211, A::Longs, "YCbCrCoefficients = %i, %i, %i\r\n", 3},
    {0x0212, A::ValueFieldShorts, "YCbCrSubSampling horz = %i, vert = %i\r\n"},
    {0x0213, A::Named, "YCbCrPositioning = %s\r\n", 0, &kPositioning},
    {0x0214, A::Longs, "ReferenceBlackWhite Y = %i/%i, Cb = %i/%i, Cr = %i/%i\r\n", 6},
    {0x0F00, A::LongList, "tag 0x0F00 = "},

    // EXIF and TIFF/EP.
    {0x828D, A::ValueFieldShorts, "CFARepeatPatternDim = %i/%i\r\n"},
    {0x828E, A::Value, "CFAPattern = %x\r\n"},
    {0x828F, A::Longs, "BatteryLevel = %i\r\n", 1},
    {0x8822, A::Named, "ExposureProgram = %s\r\n", 0, &kExposureProgram},
    {0x8824, A::Text, "SpectralSensitivity = %s\r\n"},
    {0x8828, A::None, "OECF\r\n"},
    {0x8829, A::Value, "interlace = %i\r\n"},
    {0x882A, A::Value, "TimeZoneOffset = %i\r\n"},
    {0x882B, A::Value, "SelfTimerMode = %i\r\n"},
    {0x9004, A::Text, "DateTimeDigitized = %s\r\n"},
    {0x9101, A::Value, "Components Configuration = %08X\r\n"},
    {0x9102, A::NumDen, "CompressedBitsPerPixel = %i : %i\r\n"},
    {0x9202, A::ApexAperture, "Aperture Value = F%s\r\n"},
    {0x9203, A::Decimal, "BrightnessValue = %s EV\r\n", 1},
    {0x9205, A::Decimal, "MaxLensApertureValue = F%s\r\n", 1},
    {0x9206, A::Decimal, "Subject Distance = %s m\r\n", 3},
    {0x9208, A::Named, "LightSource = %s\r\n", 0, &kLightSource},
    {0x920B, A::Longs, "FlashEnergy = %i\r\n", 1},
    {0xA20B, A::Longs, "FlashEnergy = %i\r\n", 1},
    {0x920C, A::None, "SpatialFrequencyResponse\r\n"},
    {0x920D, A::None, "Noise\r\n"},
    {0x9211, A::Value, "ImageNumber = %i\r\n"},
    {0x9212, A::Text, "SecurityClassification = %s\r\n"},
    {0x9213, A::Text, "ImageHistory = %s\r\n"},
    {0x9214, A::Longs, "SubjectLocation = %i,%i,%i,%i\r\n", 4},
    {0x9215, A::Longs, "ExposureIndex = %i\r\n", 1},
    {0x9216, A::Bytes, "TIFF/EPStandardID = %c%c%c%c\r\n"},
    // From the first byte of the data: the character-code prefix is what shows.
    {0x9286, A::Text, "UserComment = \"%s\"\r\n"},
    {0x9290, A::InlineText, "SubSecTime = %s\r\n"},
    {0x9291, A::InlineText, "SubSecTimeOriginal = %s\r\n"},
    {0x9292, A::InlineText, "SubSecTimeDigitized = %s\r\n"},
    {0xA000, A::Bytes, "FlashPixVersion = %c%c%c%c\r\n"},
    {0xA001, A::Value, "ColorSpace = %i\r\n"},
    {0xA004, A::Text, "RelatedSoundFile = %s\r\n"},
    {0xA005, A::Value, "ExifInteroperabilityOffset = %i\r\n"},
    {0xA20C, A::Value, "SpatialFrequencyResponse = %i\r\n"},
    {0xA20E, A::UnsignedRatio, "CCD X Resolution = %i\r\n"},
    {0xA20F, A::UnsignedRatio, "CCD Y Resolution = %i\r\n"},
    {0xA210, A::Named, "FocalPlaneResolutionUnit = %s\r\n", 0, &kFocalPlaneUnit},
    {0xA214, A::Value, "SubjectLocation = %i\r\n"},
    {0xA215, A::Shorts, "ExposureIndex = %i\r\n", 1},
    {0xA217, A::Named, "Sensing Method = %s\r\n", 0, &kSensingMethod},
    {0xA300, A::Value, "FileSource = %i\r\n"},
    {0xA301, A::Value, "SceneType = %i\r\n"},
    {0xA302, A::Value, "CFAPattern = %i\r\n"},

    // Interoperability, and the camera settings recognised in any directory.
    {0x0001, A::Bytes, "ExifR98 Header String? = %c%c%c\r\n"},
    {0x0002, A::ExifR98Version, "ExifR98 Version = \"%s\"\r\n"},
    {0x0003, A::Named, "Image Mode = %s\r\n", 0, &kImageMode},
    {0x0004, A::Named, "Image Tone = %s\r\n", 0, &kImageTone},
    {0x0005, A::Named, "Image adjustment = %s\r\n", 0, &kAdjustment},
    {0x0007, A::Named, "White Balence = %s\r\n", 0, &kWhiteBalance},
    {0x0008, A::FocusDistance, "Focus Distance = %s m\r\n"},
    {0x000A, A::DigitalZoom, "Digital Zoom = x%s\r\n"},
    {0x000B, A::Named, "Lens Converter = %s\r\n", 0, &kLensConverter},
    {0x1001, A::Value, "RelatedImageWidth = %i\r\n"},
    {0x1002, A::Value, "RelatedImageHeight = %i\r\n"},
};

}  // namespace

constexpr auto kRowsByTag = SortedByTag(kRows);

std::span<const ReportRow> DirectoryReportRows() { return kRowsByTag; }

}  // namespace corvelle
