#include "support/todays_files.h"

#include <vips/vips.h>

#include <cstdlib>
#include <filesystem>

#include "imaging/imaging.h"
#include "support/exif_builder.h"
#include "support/iso_media_builder.h"
#include "support/raw_file_builder.h"

namespace corvelle::testing {

namespace {

constexpr int kWidth = 48, kHeight = 32;

TiffDirectory ShotExif() {
    TiffDirectory exif;
    exif.rationals(0x829A, {{1, 125}})
        .rationals(0x829D, {{56, 10}})
        .shorts(0x8827, {100})
        .ascii(0x9003, "2023:06:01 14:25:30");
    return exif;
}

// A colour gradient written by the imaging library in the format the name's saver picks.
bool SavePicture(const std::string& path, const char* saver) {
    std::vector<uint8_t> pixels(size_t(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = &pixels[(size_t(y) * kWidth + x) * 3];
            p[0] = uint8_t(x * 5), p[1] = uint8_t(y * 7), p[2] = 128;
        }
    VipsImage* image = vips_image_new_from_memory(pixels.data(), pixels.size(), kWidth, kHeight, 3,
                                                  VIPS_FORMAT_UCHAR);
    if (!image) return false;
    int failed = 1;
    if (std::string(saver) == "avif")
        failed = vips_heifsave(image, path.c_str(), "compression",
                               VIPS_FOREIGN_HEIF_COMPRESSION_AV1, "strip", TRUE, nullptr);
    else if (std::string(saver) == "heif")
        failed = vips_heifsave(image, path.c_str(), "strip", TRUE, nullptr);
    else if (std::string(saver) == "png")
        failed = vips_pngsave(image, path.c_str(), "strip", TRUE, nullptr);
    else
        failed = vips_webpsave(image, path.c_str(), "strip", TRUE, nullptr);
    g_object_unref(image);
    return failed == 0;
}

}  // namespace

bool HaveExiftool() { return std::system("exiftool -ver >/dev/null 2>&1") == 0; }

std::vector<TodaysFile> WriteTodaysFiles(const TempFolder& folder) {
    if (!HaveExiftool() || !StartImaging("tiselk_tests")) return {};
    std::vector<TodaysFile> files;
    const std::pair<const char*, const char*> saved[] = {{"phone.heic", "heif"},
                                                         {"still.heif", "heif"},
                                                         {"web.avif", "avif"},
                                                         {"screen.png", "png"},
                                                         {"page.webp", "webp"}};
    // Each file gets its own name as the model.
    std::string command =
        "exiftool -q -q -overwrite_original -ExposureTime=1/125 -FNumber=5.6 -ISO=100 "
        "-DateTimeOriginal='2023:06:01 14:25:30' '-Model<FileName'";
    for (const auto& [name, saver] : saved) {
        if (!SavePicture(folder.file(name), saver)) return {};
        files.push_back({name, kWidth, kHeight, false});
        command += " '" + folder.file(name) + "'";
    }
    // libheif's encoder writes a HEIC with an HEVC-coded thumbnail item.
    const std::string plain = folder.file("plain.png");
    if (SavePicture(plain, "png") &&
        std::system(("heif-enc -q 90 -t 16 -o '" + folder.file("coded.heic") + "' '" + plain +
                     "' >/dev/null 2>&1")
                        .c_str()) == 0) {
        files.push_back({"coded.heic", kWidth, kHeight, true});
        command += " '" + folder.file("coded.heic") + "'";
    }
    std::filesystem::remove(plain);
    if (std::system(command.c_str()) != 0) return {};

    const std::vector<uint8_t> preview = EncodeTestJpeg(kWidth, kHeight);
    const std::vector<uint8_t> thumbnail = EncodeTestJpeg(12, 8);
    const std::pair<const char*, RawLayout> raws[] = {
        {"camera.dng", RawLayout::kDng}, {"camera.CR2", RawLayout::kCr2},
        {"camera.arw", RawLayout::kArw}, {"camera.orf", RawLayout::kOrf},
        {"camera.rw2", RawLayout::kRw2}, {"camera.pef", RawLayout::kPef},
        {"camera.srw", RawLayout::kSrw}};
    for (const auto& [name, layout] : raws) {
        WriteFileBytes(folder.file(name),
                       BuildRawFile(layout, ShotExif(), preview, thumbnail, name));
        files.push_back({name, kWidth, kHeight, true});
    }

    TiffDirectory cmt1;
    cmt1.ascii(0x010F, "Canon").ascii(0x0110, "camera.cr3");
    WriteFileBytes(folder.file("camera.cr3"), BuildCr3({.cmt1 = BuildTiff(cmt1, kLittle),
                                                        .cmt2 = BuildTiff(ShotExif(), kLittle),
                                                        .thumbnailJpeg = thumbnail,
                                                        .previewJpeg = preview}));
    files.push_back({"camera.cr3", kWidth, kHeight, true});
    return files;
}

}  // namespace corvelle::testing
