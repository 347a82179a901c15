#pragma once

#include <QImage>
#include <QRect>

#include "core/packed_dib.h"

class QPainter;

namespace corvelle {

// Draws the part of `target` inside `clip` of a picture stretched into `target`, taking the
// nearest source pixel for every screen pixel (rows and columns dropped or repeated, never
// blended), the way a stretch in colour-on-colour mode does. Only the pixels inside `clip`
// are looked at, so a large picture costs no more than the area painted.
void DrawDib(QPainter& painter, const PackedDib& dib, const QRect& target, const QRect& clip);

// The same pixels as an image of target's size (clip relative to the image).
QImage SampleDib(const PackedDib& dib, const QSize& target, const QRect& clip);

}  // namespace corvelle
