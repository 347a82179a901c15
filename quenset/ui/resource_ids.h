#pragma once

// Dialog, control, menu, command and string identifiers of Quenset's windows. Every widget
// carries its id (ui/control_id.h), so callers and tests find controls by these numbers.

#include "ui/folder_resource_ids.h"

namespace quenset {

using corvelle::IDCANCEL;
using corvelle::IDOK;

// Dialogs and menus
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_QUENSET_DIALOG = 102;
inline constexpr int IDD_RENAME_PREVIEW = 130;
inline constexpr int IDR_SEPARATOR_MENU = 133;

// Main dialog
inline constexpr int IDC_FOLDER_EDIT = 1000;
inline constexpr int IDC_BROWSE = 1001;
inline constexpr int IDC_PREFIX_EDIT = 1002;
inline constexpr int IDC_POSTFIX_EDIT = 1004;
inline constexpr int IDC_SAMPLE_EDIT = 1005;
inline constexpr int IDC_FILE_TYPE = 1007;
inline constexpr int IDC_USE_EXIF = 1011;
inline constexpr int IDC_YEAR = 1018;
inline constexpr int IDC_MONTH = 1019;
inline constexpr int IDC_DAY = 1020;
inline constexpr int IDC_FIRST_SEPARATOR = 1022;
inline constexpr int IDC_SECOND_SEPARATOR = 1023;
inline constexpr int IDC_LAST_SEPARATOR = 1024;
inline constexpr int IDC_DATE_MODE = 1025;
inline constexpr int IDC_SERIAL_MODE = 1026;
inline constexpr int IDC_SERIAL_DIGITS = 1027;
inline constexpr int IDC_MOD_FILE_DATE = 1029;
inline constexpr int IDC_RENAME_SIDECARS = 1030;
inline constexpr int IDM_ABOUTBOX = 16;  // the "정보 보기" button and the context-menu entry
inline constexpr int IDM_UNDO_LAST_RUN = 17;  // the context menu's undo entry

// Separator popup commands (the separator table maps them to indices)
inline constexpr int ID_SEPARATOR_DASH = 32771;
inline constexpr int ID_SEPARATOR_UNDERSCORE = 32772;
inline constexpr int ID_SEPARATOR_PLUS = 32773;
inline constexpr int ID_SEPARATOR_SEMICOLON = 32774;
inline constexpr int ID_SEPARATOR_NONE = 32775;

// Preview dialog
inline constexpr int IDC_PREVIEW_LIST = 1008;
inline constexpr int IDC_PREVIEW_PROGRESS = 1010;
inline constexpr int IDC_PREVIEW_SUMMARY = 1016;

// About box
inline constexpr int IDC_ABOUT_HISTORY = 1003;

// Strings
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDS_FAILED_CAPTION = 111;
inline constexpr int IDS_RENAMED = 112;
inline constexpr int IDS_FAILURES = 113;
inline constexpr int IDS_NOTHING_RENAMED = 114;
inline constexpr int IDS_HISTORY = 115;

}  // namespace quenset
