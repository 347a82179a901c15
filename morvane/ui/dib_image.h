#pragma once

#include <QImage>
#include <QRectF>

#include "core/packed_dib.h"

class QMimeData;
class QPainter;

// The packed DIB's rows as a QImage without copying them: memory row 0 (the bottom of the
// picture) is image row 0, so the image is upside down. Null for bit counts other than 8 and
// 24. The image borrows the DIB's bytes and must not outlive them.
QImage WrapDibRows(const corvelle::PackedDib& dib);

// Draws the part source (picture coordinates, top-left origin) of the DIB onto target, rows
// and columns repeated or dropped as they fall (no smoothing).
void DrawDib(QPainter& painter, const QRectF& target, const corvelle::PackedDib& dib,
             const QRectF& source);

// A top-down copy for places that keep the picture (the clipboard).
QImage DibToImage(const corvelle::PackedDib& dib);

// The clipboard contents for a picture: the image, and the DIB itself as "image/bmp".
QMimeData* DibMimeData(const corvelle::PackedDib& dib);
