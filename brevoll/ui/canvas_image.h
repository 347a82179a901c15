#pragma once

#include <QImage>

#include <vips/vips8>

// A finished canvas as a picture for the preview, made no larger than a screen needs.
// Safe to call on a worker thread; a null image when the canvas cannot be read.
QImage CanvasToImage(const vips::VImage& canvas);
