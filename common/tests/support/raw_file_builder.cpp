#include "support/raw_file_builder.h"

#include <algorithm>

namespace corvelle::testing {

namespace {

void NameJpeg(TiffDirectory& directory, uint32_t offset, size_t length) {
    directory.raw(0x0201, kLong, 1, offset).raw(0x0202, kLong, 1, uint32_t(length));
}

void JpegStrip(TiffDirectory& directory, uint16_t compression, uint32_t offset, size_t length) {
    directory.shorts(0x0103, {compression})
        .raw(0x0111, kLong, 1, offset)
        .raw(0x0117, kLong, 1, uint32_t(length));
}

}  // namespace

std::vector<uint8_t> BuildRawFile(RawLayout layout, const TiffDirectory& exif,
                                  const std::vector<uint8_t>& preview,
                                  const std::vector<uint8_t>& thumbnail, const std::string& model) {
    const bool previewInline = layout == RawLayout::kRw2;
    std::vector<uint8_t> file;
    // The pictures follow the TIFF structure, whose size does not depend on where they lie:
    // the first pass measures, the second writes the true offsets.
    for (uint32_t picturesAt = 0, pass = 0; pass < 2; ++pass) {
        const uint32_t thumbnailAt = picturesAt + uint32_t(previewInline ? 0 : preview.size());
        TiffDirectory ifd0;
        ifd0.ascii(0x010F, "Test Maker").ascii(0x0110, model).subDirectory(0x8769, exif);
        TiffDirectory sub;
        switch (layout) {
            case RawLayout::kCr2:
                JpegStrip(ifd0, 6, picturesAt, preview.size());
                break;
            case RawLayout::kArw:
            case RawLayout::kOrf:
            case RawLayout::kPef:
                NameJpeg(ifd0, picturesAt, preview.size());
                break;
            case RawLayout::kDng:
                JpegStrip(sub, 7, picturesAt, preview.size());
                ifd0.subDirectory(0x014A, sub);
                break;
            case RawLayout::kSrw:
                NameJpeg(sub, picturesAt, preview.size());
                ifd0.subDirectory(0x014A, sub);
                break;
            case RawLayout::kRw2:
                ifd0.placedBytes(0x002E, kUndefined, uint32_t(preview.size()),
                                 [&](uint32_t) { return preview; });
                break;
        }
        TiffDirectory ifd1;
        ifd1.shorts(0x0103, {6});
        NameJpeg(ifd1, thumbnailAt, thumbnail.size());
        ifd0.next(ifd1);
        file = BuildTiff(ifd0, layout == RawLayout::kPef ? kBig : kLittle);
        picturesAt = uint32_t(file.size());
        if (!previewInline) file.insert(file.end(), preview.begin(), preview.end());
        file.insert(file.end(), thumbnail.begin(), thumbnail.end());
    }
    if (layout == RawLayout::kOrf) std::copy_n("IIRO", 4, file.begin());
    if (layout == RawLayout::kRw2) std::copy_n("IIU", 4, file.begin());  // with its zero
    return file;
}

}  // namespace corvelle::testing
