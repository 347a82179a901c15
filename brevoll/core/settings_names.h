#pragma once

#include <string_view>

namespace corvelle::brevoll_settings {

// Value names in the section "Settings", spelled as stored.
inline constexpr std::string_view kMethod = "Method";
inline constexpr std::string_view kSizeRatio = "Size Ratio";
inline constexpr std::string_view kFixSize = "Fix Size";
inline constexpr std::string_view kBoundWidth = "Bound Width";
inline constexpr std::string_view kBoundHeight = "Bound Height";
inline constexpr std::string_view kFitBound = "Fit Bound";
inline constexpr std::string_view kRecursive = "Recursive";
inline constexpr std::string_view kCompressRatio = "Compress ratio";
inline constexpr std::string_view kExifInfo = "Exif Info";
inline constexpr std::string_view kSourcePath = "Source Path";
inline constexpr std::string_view kDestPath = "Dest Path";
inline constexpr std::string_view kNaming = "Naming";
inline constexpr std::string_view kPrefix = "Prefix";
inline constexpr std::string_view kPostfix = "Postfix";
inline constexpr std::string_view kUseColorBorder = "Use Color Border";
inline constexpr std::string_view kBorderColor = "Border Color";
inline constexpr std::string_view kBorderMargin = "Border Margin";
inline constexpr std::string_view kStampPos = "Stamp Pos";
inline constexpr std::string_view kStampMethod = "Stamp Method";
inline constexpr std::string_view kStampColor = "Stamp Color";
inline constexpr std::string_view kStampEmboss = "Stamp Emboss";
inline constexpr std::string_view kStampFont = "Stamp Font";
inline constexpr std::string_view kStampFontSize = "Stamp Font Size";
inline constexpr std::string_view kInterpolationMethod = "Interpolation Method";
inline constexpr std::string_view kAllPictureTypes = "All Picture Types";
inline constexpr std::string_view kMaxPixels = "Max Pixels";
inline constexpr std::string_view kMaxMemoryMb = "Max Memory MB";
// Where earlier versions kept the step marker; now only read once to report it.
inline constexpr std::string_view kErrorOperation = "Error Operation";
inline constexpr std::string_view kCurrentImage = "Current Image";

// Defaults on first start.
inline constexpr int kDefaultMethod = 0;
inline constexpr int kDefaultSizeRatio = 50;
inline constexpr int kDefaultFixSize = 640;
inline constexpr int kDefaultBoundWidth = 800;
inline constexpr int kDefaultBoundHeight = 600;
inline constexpr int kDefaultFitBound = 0;
inline constexpr int kDefaultRecursive = 1;
inline constexpr int kDefaultCompressRatio = 100;
inline constexpr int kDefaultExifInfo = 1;
inline constexpr int kDefaultNaming = 0;
inline constexpr int kDefaultUseColorBorder = 0;
inline constexpr int kDefaultBorderColor = 0;
inline constexpr int kDefaultBorderMargin = 0;
inline constexpr int kDefaultStampPos = 0;
inline constexpr std::string_view kDefaultStampMethod = "%x %X";
inline constexpr std::string_view kDefaultStampColor = "FF0000";
inline constexpr int kDefaultStampEmboss = 1;
inline constexpr std::string_view kDefaultStampFont = "Times New Roman";
inline constexpr std::string_view kDefaultStampFontSize = "12";
inline constexpr int kDefaultAllPictureTypes = 1;
// The list opens on its last entry, and a run uses the entry the list shows.
inline constexpr int kDialogDefaultInterpolation = 7;
inline constexpr int kRunDefaultInterpolation = kDialogDefaultInterpolation;

}  // namespace corvelle::brevoll_settings
