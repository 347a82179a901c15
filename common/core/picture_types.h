#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

#include "core/byte_source.h"
#include "core/picture_container.h"

namespace corvelle {

enum class PictureType {
    kJpeg, kTiff, kPng, kWebp, kHeic, kHeif, kAvif,
    kNef, kDng, kCr2, kCr3, kArw, kOrf, kRw2, kPef, kSrw,
    kMp4, kMov,
};

enum class PictureKind {
    kPicture,  // a picture the imaging library decodes
    kRaw,      // a camera's raw file: metadata and embedded previews only
    kMovie,    // a movie: a shooting date, no picture
};

struct PictureTypeInfo {
    PictureType type;
    std::string_view name;                     // as a user knows the format ("HEIC")
    std::array<std::string_view, 2> extensions;  // lower case with the dot; the first is the usual one
    PictureKind kind;
    PictureContainer container;                // what its first bytes are
    std::string_view loader;                   // the imaging library's loader; empty when none
    bool decoderTurnsUpright;                  // the loader applies the EXIF rotation itself
};

// Every type the programs know, JPEG first.
std::span<const PictureTypeInfo> PictureTypes();
const PictureTypeInfo& PictureTypeInfoOf(PictureType type);

// How a program tells a type by a file's name. Only the file's own name counts, never the
// folders of a path.
enum class PictureNameRule {
    kExtension,          // the name ends in one of the type's extensions, in any case
    kJpgOrJpegAnywhere,  // ".jpg" or ".jpeg" anywhere makes a JPEG; the rest by extension
};

// The type a file's name gives; none when no type's extension fits. A path may be given:
// only the part after its last '/' is looked at.
std::optional<PictureType> PictureTypeOfName(std::string_view fileName,
                                             PictureNameRule rule = PictureNameRule::kExtension);

// The file's own name: what follows the last '/' of a path.
std::string_view FileNameOfPath(std::string_view path);

// Whether the file's first bytes are those of the type's container.
bool BytesFitPictureType(const ByteSource& file, PictureType type);

// The type whose files a loader reads (the first of them for HEIF's loader); none for a
// loader no type uses. "jpegload_source" and the like name the same loader.
std::optional<PictureType> PictureTypeOfLoader(std::string_view loader);

// How a file is read when its name and its bytes may disagree: PNG, WebP and ISO media
// files by their bytes whatever their name; a JPEG by its bytes when its name gives one of
// those containers; every other file as its name says (JPEG for a JPEG name, TIFF-structured
// otherwise).
PictureContainer ContainerToRead(std::optional<PictureType> byName, PictureContainer sniffed);

}  // namespace corvelle
