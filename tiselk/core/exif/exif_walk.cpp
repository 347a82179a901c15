#include "core/exif/exif_walk.h"

#include "core/picture_container.h"

namespace corvelle {

namespace {

// Notes the pointers of the block's structure, wherever they stand.
void NoteLink(const ExifEntry& entry, ExifLinks& links) {
    switch (entry.tag) {
        case 0x0201:
            links.thumbnailPosition = entry.dataPosition();
            break;
        case 0x0202:
            links.thumbnailLength = entry.value;
            break;
        case 0x8769:
            links.exifDirectory = entry.dataPosition();
            break;
        case 0xA005:
            links.interoperability = entry.value;
            break;
        case 0x8825:
            links.gps = entry.value;
            break;
        default:
            break;
    }
}

// Hands every entry of the directory at `position` on and returns where its link to the
// next directory lies. A directory whose count cannot be read is empty; one that runs past
// the block's end ends there.
std::optional<int64_t> WalkDirectory(ExifBlockReader& reader, ExifDirectory directory,
                                     int64_t position, const ExifEntryVisitor& visit,
                                     ExifLinks& links) {
    return WalkTiffDirectory(reader.bytes(), position, [&](const TiffEntry& stored) {
        const ExifEntry entry = DecodeExifEntry(reader, stored, 0);
        NoteLink(entry, links);
        visit(reader, directory, entry);
        return true;
    });
}

}  // namespace

std::optional<ExifLinks> WalkExifDirectories(ExifBlockReader& reader,
                                             const ExifEntryVisitor& visit) {
    uint8_t order[2] = {0, 0};
    reader.bytes().read(0, order);
    reader.setBigEndian(order[0] == 'M' && order[1] == 'M');
    const auto magic = reader.read16(2);
    if (!magic || !IsTiffMagic(uint16_t(*magic))) return std::nullopt;

    ExifLinks links;
    const auto first = reader.read32(4);
    if (!first) return links;
    const auto ifd0End = WalkDirectory(reader, ExifDirectory::Ifd0, *first, visit, links);
    if (!ifd0End) return links;

    // IFD0 is walked whole first, so every IFD0 entry comes before every EXIF entry.
    if (links.exifDirectory != 0) {
        WalkDirectory(reader, ExifDirectory::Exif, links.exifDirectory, visit, links);
    }

    // Without IFD1 neither the thumbnail nor the interoperability directory is looked for.
    const auto next = reader.read32(*ifd0End);
    if (next && *next != 0) {
        // IFD1's own link is not followed.
        WalkDirectory(reader, ExifDirectory::Ifd1, *next, visit, links);
        links.ifd1 = true;
        if (links.interoperability != 0) {
            WalkDirectory(reader, ExifDirectory::Interoperability, links.interoperability, visit,
                          links);
        }
    }
    // The position's lines come after all the others.
    if (links.gps != 0) WalkDirectory(reader, ExifDirectory::Gps, links.gps, visit, links);
    return links;
}

}  // namespace corvelle
