#pragma once

// Dialog, control, string and timer identifiers of Brevoll's windows. Every widget carries
// its id (see ui/control_id.h), so callers and tests find controls as the templates name
// them.
#include "ui/folder_resource_ids.h"

namespace brevoll {

using corvelle::IDCANCEL;
using corvelle::IDOK;

// Dialogs
inline constexpr int IDD_BREVOLL_DIALOG = 102;
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_PROGRESS = 129;
inline constexpr int IDD_OVERWRITE = 131;

// Strings
inline constexpr int IDS_SAME_FOLDERS = 102;
inline constexpr int IDS_ABOUT_TEXT = 103;
inline constexpr int IDS_ABNORMAL_END = 104;

// The about entry of the dialog's own menu, and the "&About" button.
inline constexpr int IDM_ABOUTBOX = 16;
inline constexpr int IDC_ABOUT = 16;

// Main dialog
inline constexpr int IDC_RADIO_RATIO = 1000;
inline constexpr int IDC_RADIO_PIXEL = 1001;
inline constexpr int IDC_RADIO_BOUND = 1002;
inline constexpr int IDC_SIZE_RATIO = 1003;
inline constexpr int IDC_FIX_SIZE = 1004;
inline constexpr int IDC_SOURCE_PATH = 1005;
inline constexpr int IDC_DEST_PATH = 1006;
inline constexpr int IDC_SOURCE_BROWSE = 1007;
inline constexpr int IDC_DEST_BROWSE = 1008;
inline constexpr int IDC_RECURSIVE = 1009;
inline constexpr int IDC_COMPRESS_RATIO = 1010;
inline constexpr int IDC_IMAGE_BORDER_BROWSE = 1011;
inline constexpr int IDC_EXIF_INFO = 1023;
inline constexpr int IDC_ALL_PICTURE_TYPES = 1047;
inline constexpr int IDC_INTERPOLATION = 1024;
inline constexpr int IDC_BOUND_WIDTH = 1025;
inline constexpr int IDC_BOUND_HEIGHT = 1026;
inline constexpr int IDC_FIT_BOUND = 1027;
inline constexpr int IDC_NAMING = 1029;
inline constexpr int IDC_COLOR_BORDER = 1030;
inline constexpr int IDC_PREFIX = 1031;
inline constexpr int IDC_POSTFIX = 1032;
inline constexpr int IDC_IMAGE_BORDER = 1033;
inline constexpr int IDC_IMAGE_BORDER_PATH = 1035;
inline constexpr int IDC_BORDER_MARGIN = 1036;
inline constexpr int IDC_BORDER_COLOR = 1037;
inline constexpr int IDC_STAMP_COLOR = 1038;
inline constexpr int IDC_STAMP_FONT = 1040;
inline constexpr int IDC_STAMP_FONT_SIZE = 1041;
inline constexpr int IDC_STAMP_POS = 1042;
inline constexpr int IDC_STAMP_METHOD = 1043;
inline constexpr int IDC_STAMP_EMBOSS = 1045;
inline constexpr int IDC_READ_ME = 1046;

// Progress dialog
inline constexpr int IDC_PROGRESS_BAR = 1012;
inline constexpr int IDC_COUNTER_TEXT = 1013;
inline constexpr int IDC_SOURCE_TEXT = 1014;
inline constexpr int IDC_DEST_TEXT = 1015;
inline constexpr int IDC_TIME_TEXT = 1018;
inline constexpr int IDC_PREVIEW = 1038;
inline constexpr int IDC_PREVIEW_CHECK = 1039;
inline constexpr int IDC_FAILURES = 1048;
inline constexpr int IDT_COLLECT = 100;
inline constexpr int IDT_CONVERT = 101;
inline constexpr int kTimerPeriodMs = 100;

// Overwrite question; its buttons' ids are the answers' identifiers (see COverwriteDlg).
inline constexpr int IDC_OVERWRITE_PATH = 1020;
inline constexpr int IDC_YES_ALL = 4;
inline constexpr int IDC_SKIP_ALL = 1019;
inline constexpr int IDC_NO = 1028;

}  // namespace brevoll
