#pragma once

#include <vector>

#include "core/byte_range.h"
#include "core/byte_source.h"
#include "core/exif_structure.h"

namespace corvelle {

// What a picture file is by its first bytes, not by its name.
enum class PictureContainer {
    kOther,     // no mark this code knows (a TIFF without "II"/"MM", a foreign file)
    kTiff,      // "II" or "MM": TIFF and the TIFF-based raw files
    kJpeg,      // FF D8
    kPng,       // the PNG signature
    kWebp,      // "RIFF" size "WEBP"
    kIsoMedia,  // a first box "ftyp": HEIC, HEIF, AVIF, CR3, MP4, MOV
};

PictureContainer SniffPictureContainer(const ByteSource& file);

// Whether the container is one whose EXIF data sit in a chunk or box of their own.
bool KeepsExifInChunks(PictureContainer container);

// The TIFF structures holding the EXIF data of a PNG, WebP or ISO media file, in the order
// they are read (a CR3 has two: its main directory, then its EXIF directory). Empty for any
// other container and when the file has none.
std::vector<ExifStructure> FindContainerExif(const ByteSource& file, PictureContainer container);

// The 16-bit number at offset 2 of a TIFF header, in its own byte order: 42 in a TIFF file,
// and the marks Olympus ("IIRO", "IIRS", "MMOR") and Panasonic ("IIU\0") raw files use.
bool IsTiffMagic(uint16_t magic);

}  // namespace corvelle
