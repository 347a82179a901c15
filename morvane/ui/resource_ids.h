#pragma once

// Command, control, string and resource identifiers of the Morvane window. The numbers are
// part of the product: menus, accelerators, toolbar slots and prompts are keyed by them.

// Resources
inline constexpr int IDR_MAINFRAME = 128;    // main menu, toolbar, title "Morvane"
inline constexpr int IDR_MORVANETYPE = 129;  // menu while a document is open
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_EVEN_SPREAD = 132;

// Strings
inline constexpr int IDS_OLE_INIT_FAILED = 100;
inline constexpr int IDS_LOADING = 2201;
inline constexpr int IDS_SAVING = 2202;
inline constexpr int IDS_NOISE_REMOVING = 2203;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;

// View settings of the main frame
inline constexpr int ID_VIEW_FIT_SCREEN = 2000;
inline constexpr int IDC_ZOOM_COMBO = 2001;
inline constexpr int ID_VIEW_ZOOM_IN = 2002;
inline constexpr int ID_VIEW_ZOOM_OUT = 2003;
inline constexpr int ID_VIEW_ZOOM_30 = 2004;  // 2004..2009: 30, 50, 80, 100, 200, 400 %
inline constexpr int ID_VIEW_ZOOM_400 = 2009;
inline constexpr int IDC_COMPRESS_COMBO = 2010;

// Gray renderings of the document
inline constexpr int ID_GRAY_1786 = 2100;
inline constexpr int ID_GRAY_4336 = 2101;
inline constexpr int ID_TRUE_COLOR = 2102;

// Trimming
inline constexpr int IDC_TRIM_COMBO = 2200;
inline constexpr int ID_TRIM_NONE = 2201;  // 2201..2207: trimming size index 0..6
inline constexpr int ID_TRIM_10X14 = 2207;

// Tools
inline constexpr int ID_TOOLS_DENOISE = 32794;

// Framework commands
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_CLOSE = 57602;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_WINDOW_NEXT = 57648;
inline constexpr int ID_WINDOW_ARRANGE = 57649;
inline constexpr int ID_WINDOW_CASCADE = 57650;
inline constexpr int ID_WINDOW_TILE = 57651;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;

// Controls
inline constexpr int IDC_PROGRESS = 100;  // status-bar progress bar
inline constexpr int IDC_ABOUT_TEXT = 1000;
inline constexpr int IDC_SPREAD_ZOOM = 1002;
inline constexpr int IDC_SPREAD_PREVIEW = 1003;
inline constexpr int IDC_SPREAD_THRESHOLD = 1004;
inline constexpr int IDC_SPREAD_THRESHOLD_EDIT = 1005;
inline constexpr int IDC_SPREAD_REGION = 1006;
inline constexpr int IDC_SPREAD_REGION_EDIT = 1007;
inline constexpr int IDC_SPREAD_ZOOM_LABEL = 1010;

// Number of entries kept in the recent-file list.
inline constexpr int kRecentFileCount = 4;
