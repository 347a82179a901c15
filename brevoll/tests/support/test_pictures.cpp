#include "support/test_pictures.h"

#include <filesystem>

#include "core/jpeg_segments.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle::testing {

std::vector<uint8_t> TestMakerNote() {
    std::vector<uint8_t> note = {'N', 'o', 't', 'e', 0, 1};
    for (int i = 0; i < 40; ++i) note.push_back(uint8_t(i * 37 + 11));
    return note;
}

std::vector<uint8_t> MakeTestPicture(const TestPictureOptions& options) {
    TestJpegOptions jpeg;
    jpeg.components = options.components;
    const uint32_t color = options.color;
    if (options.pattern)
        jpeg.pixel = [](int x, int y) {
            return uint32_t((x * 7 + y * 13) % 256) * 0x010101u ^ uint32_t(x * y);
        };
    else
        jpeg.pixel = [color](int, int) { return color; };
    std::vector<uint8_t> bytes = EncodeTestJpeg(options.width, options.height, jpeg);
    std::vector<std::vector<uint8_t>> segments;
    if (options.withExif) {
        TiffDirectory exif;
        if (!options.shotDate.empty()) exif.ascii(0x9003, options.shotDate);
        exif.bytes(0x927C, kUndefined, TestMakerNote());
        TiffDirectory ifd0;
        ifd0.ascii(0x010F, "CORVELLE").shorts(0x0112, {6}).subDirectory(0x8769, exif);
        segments.push_back(ExifSegment(BuildTiff(ifd0, kBig)));
    }
    if (options.withIcc) {
        std::vector<uint8_t> payload = {'I', 'C', 'C', '_', 'P', 'R', 'O',
                                        'F', 'I', 'L', 'E', 0,   1,   1};
        for (int i = 0; i < 64; ++i) payload.push_back(uint8_t(i));
        segments.push_back(JpegSegment(0xE2, payload));
    }
    return segments.empty() ? bytes : InsertAfterSoi(bytes, segments);
}

void WriteTestPicture(const std::string& path, const TestPictureOptions& options) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFileBytes(path, MakeTestPicture(options));
}

std::vector<std::vector<uint8_t>> MetadataSegmentsOf(const std::vector<uint8_t>& jpeg) {
    std::vector<std::vector<uint8_t>> found;
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF && jpeg[pos + 1] != 0xDA) {
        const size_t length = size_t(jpeg[pos + 2]) << 8 | jpeg[pos + 3];
        if (pos + 2 + length > jpeg.size()) break;
        const uint8_t marker = jpeg[pos + 1];
        if (marker == 0xE1 || marker == 0xE2 || marker == 0xED || marker == 0xFE)
            found.emplace_back(jpeg.begin() + long(pos), jpeg.begin() + long(pos + 2 + length));
        pos += 2 + length;
    }
    return found;
}

}  // namespace corvelle::testing
