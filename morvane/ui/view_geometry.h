#pragma once

#include <QRect>
#include <QString>

#include <array>
#include <optional>

#include "core/packed_dib.h"

// Geometry and value rules of the photo view that sit between the window and the core.

inline constexpr std::array<int, 6> kZoomList{30, 50, 80, 100, 200, 400};
inline constexpr std::array<int, 7> kCompressList{40, 50, 60, 70, 80, 90, 100};
inline constexpr int kMinZoom = 30;
inline constexpr int kMaxZoom = 1000;
// The view's scroll extent while fitting or before a picture is known.
inline constexpr int kIdleScrollExtent = 100;

// Zoom in and out step through the zoom list; a zoom not in the list (typed) stays.
int NextZoom(int zoom);
int PreviousZoom(int zoom);
int LimitZoom(int zoom);

// A combo's text as a number: cut at the first '%', then the leading decimal number as C's
// atoi reads it (blanks, an optional sign, digits); a text without one reads 0.
int ReadLeadingNumber(const QString& text);
QString PercentText(int value);

// Where the picture lies in the view and at what scale (percent).
struct PicturePlacement {
    QRect rect;  // window coordinates
    int scale = 100;
};

// Fit mode: the largest rectangle of the picture's proportions inside the client area,
// centred across the spare direction.
PicturePlacement FitPlacement(const QRect& client, int width, int height);
// Zoom mode: the zoomed picture shifted by the scroll position.
PicturePlacement ZoomPlacement(int width, int height, int zoom, QPoint scrollPosition);

QRect ToQRect(const corvelle::DibRect& rect);
corvelle::DibRect ToDibRect(const QRect& rect);

// A point of the view in picture coordinates through the placement (point - origin) x 100 /
// scale; none outside the picture.
std::optional<QPoint> ViewToPicture(const PicturePlacement& placement, QPoint point, int width,
                                    int height);
