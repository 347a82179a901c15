#pragma once

// Command, control, string and resource identifiers of the Tiselk window. The numbers are
// part of the product: controls, commands and texts are keyed by them.

// Resources
inline constexpr int IDR_MAINFRAME = 128;  // the program icon
inline constexpr int IDC_HAND_CURSOR = 129;
inline constexpr int IDR_VIEW_MENU = 130;
inline constexpr int IDR_ACCELERATOR = 132;
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_TISELK_DIALOG = 102;

// Strings
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDS_COLOR_DEPTH = 103;

// System menu entry of the About box
inline constexpr int IDM_ABOUTBOX = 16;

// Main dialog controls
inline constexpr int IDCANCEL = 2;  // "종료"
inline constexpr int IDC_FOLDER_TREE = 1002;
inline constexpr int IDC_FILE_LIST = 1005;
inline constexpr int IDC_THUMBNAIL = 1007;
inline constexpr int IDC_REPORT = 1008;
inline constexpr int IDC_MODEL = 1009;
inline constexpr int IDC_TIME = 1010;
inline constexpr int IDC_FOCAL_LENGTH = 1011;
inline constexpr int IDC_EXPOSURE = 1012;
inline constexpr int IDC_FLASH = 1013;
inline constexpr int IDC_IMAGE_SIZE = 1014;
inline constexpr int IDC_ISO = 1015;
inline constexpr int IDC_SHUTTER = 1016;
inline constexpr int IDC_EXPOSURE_BIAS = 1017;
inline constexpr int IDC_FILE_SIZE = 1018;
inline constexpr int IDC_EXIF_VERSION = 1019;
inline constexpr int IDC_METERING = 1020;
inline constexpr int IDC_VIEW = 1028;
inline constexpr int IDC_COPY_INFO = 1030;
inline constexpr int IDC_LIGHT_VALUE = 1034;
inline constexpr int IDC_HISTOGRAM = 1035;
inline constexpr int IDC_MONO = 1036;
inline constexpr int IDC_RED = 1037;
inline constexpr int IDC_GREEN = 1038;
inline constexpr int IDC_BLUE = 1039;

// Commands
inline constexpr int ID_EDIT_PASTE_FILE = 32777;  // Ctrl+V

// Photo view menu
inline constexpr int ID_VIEW_FIT_WINDOW = 1029;
inline constexpr int ID_VIEW_NEXT_PHOTO = 1030;
inline constexpr int ID_VIEW_PREV_PHOTO = 1031;
inline constexpr int ID_VIEW_TO_START = 1032;
inline constexpr int ID_VIEW_TO_END = 1033;
inline constexpr int ID_VIEW_EXIT = 1034;
