#pragma once

#include <QString>

#include <span>

// The window's resources as data: menus, accelerators, toolbar layout and the string table.

// Markers in a menu table that are not commands.
inline constexpr int kMenuSeparator = 0;
inline constexpr int kSubmenuBegin = -1;
inline constexpr int kSubmenuEnd = -2;

struct MenuItemDef {
    int id;            // a command id, ID_FILE_MRU_FILE1 for the recent files, or a marker above
    const char* text;  // the item text as shown, or the submenu title after kSubmenuBegin
};

struct PopupDef {
    const char* title;
    std::span<const MenuItemDef> items;
};

struct AcceleratorDef {
    const char* keys;  // QKeySequence text, portable format
    int id;
};

// Menu 128 (no document open) and menu 129 (a document open).
std::span<const PopupDef> MainFrameMenu();
std::span<const PopupDef> DocumentMenu();

std::span<const AcceleratorDef> Accelerators();

// Toolbar 128 from left to right; kMenuSeparator for a separator; the three combo ids mark
// the slots their combos take.
std::span<const int> ToolbarLayout();

// A string of the table, or an empty string for an id without one. Command prompts hold the
// status-line text, a line break and the tool tip.
QString LoadString(int id);
QString StatusPrompt(int commandId);
QString ToolTipPrompt(int commandId);

// Texts of the window that have no string id.
inline constexpr const char* kIdleMessage = "준비";
inline constexpr const char* kDocumentTypeName = "Morvane";
inline constexpr const char* kJpegFilter = "JPEG 파일 (*.jpg)";
// The save dialog's further types, in the order of PhotoSaveFormat after JPEG.
inline constexpr const char* kGray16PngFilter = "16비트 그레이 PNG (*.png)";
inline constexpr const char* kGray16TiffFilter = "16비트 그레이 TIFF (*.tif)";
inline constexpr const char* kJpegExtension = ".jpg";
inline constexpr const char* kMainFrameTitle = "Morvane";
