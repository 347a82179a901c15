// The other picture types: which files a run takes, the ".jpg" names of their outputs, and
// HEIC, PNG and WebP pictures converted to JPEG with their EXIF and ICC profile.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <vips/vips8>

#include "core/batch_run.h"
#include "core/exif_orientation.h"
#include "core/picture_list.h"
#include "core/picture_metadata.h"
#include "core/settings_store.h"
#include "core/step_record.h"
#include "core/tiff_entries.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"
#include "support/test_pictures.h"

namespace corvelle {
namespace {

using testing::BuildTiff;
using testing::kBig;
using testing::kLittle;
using testing::TempFolder;
using testing::TiffDirectory;
using vips::VImage;
namespace fs = std::filesystem;

std::vector<std::string> namesOf(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const auto& p : paths) names.push_back(fs::path(p).filename().string());
    return names;
}

TEST(OtherPictureTypes, AreTakenByExtensionAsRegularFilesOnlyWhenAsked) {
    TempFolder temp;
    for (const char* name : {"a.jpg", "b.JPEG", "c.heic", "d.HEIF", "e.avif", "f.Png", "g.webp",
                             "h.tif", "i.TIFF", "j.gif", "k.bmp", "png", "l.png.txt"})
        testing::WriteFileBytes(temp.file(name), {'x'});
    fs::create_directories(temp.file("folder.png"));
    ASSERT_EQ(mkfifo(temp.file("pipe.webp").c_str(), 0600), 0);

    CollectOptions options;
    options.recursive = false;
    EXPECT_EQ(namesOf(CollectPictureFiles(temp.path().string(), options).pictures),
              (std::vector<std::string>{"a.jpg"}));

    options.allPictureTypes = true;
    const CollectedPictures all = CollectPictureFiles(temp.path().string(), options);
    EXPECT_EQ(namesOf(all.pictures),
              (std::vector<std::string>{"a.jpg", "b.JPEG", "c.heic", "d.HEIF", "e.avif", "f.Png",
                                        "g.webp", "h.tif", "i.TIFF"}));
    EXPECT_TRUE(all.leftOutTypes.empty());

    // A type the imaging library cannot load here is left out with one line naming it.
    options.canLoad = [](std::string_view loader) { return loader != "heifload"; };
    const CollectedPictures noHeif = CollectPictureFiles(temp.path().string(), options);
    EXPECT_EQ(namesOf(noHeif.pictures),
              (std::vector<std::string>{"a.jpg", "b.JPEG", "f.Png", "g.webp", "h.tif", "i.TIFF"}));
    EXPECT_EQ(noHeif.leftOutTypes,
              (std::vector<std::string>{"HEIC pictures cannot be read here; they are left out",
                                        "HEIF pictures cannot be read here; they are left out",
                                        "AVIF pictures cannot be read here; they are left out"}));
}

TEST(OtherPictureTypes, AreWrittenAsJpegNamedWithJpg) {
    RunSettings s;
    s.sourceFolder = "/in";
    s.destinationFolder = "/out";
    EXPECT_EQ(DestinationPathFor(s, "/in/s/p.HEIC"), "/out/s/p.jpg");
    EXPECT_EQ(DestinationPathFor(s, "/in/x.jpeg"), "/out/x.jpg");
    EXPECT_EQ(DestinationPathFor(s, "/in/x.JPG"), "/out/x.JPG");
    s.prefix = "r_";
    EXPECT_EQ(DestinationPathFor(s, "/in/shot.png"), "/out/r_shot.jpg");
    s.allPictureTypes = false;
    EXPECT_EQ(DestinationPathFor(s, "/in/shot.jpg.png"), "/out/r_shot.jpg.png");
}

TEST(OtherPictureTypes, OrientationIsResetInPlaceAndSegmentsAreBuiltForAnyBlob) {
    for (bool big : {false, true}) {
        TiffDirectory ifd0;
        ifd0.ascii(0x010F, "CAM").shorts(0x0112, {6});
        std::vector<uint8_t> tiff = BuildTiff(ifd0, big ? kBig : kLittle);
        ASSERT_TRUE(SetExifOrientation(tiff, 1));
        const MemoryByteSource written(tiff);
        TiffBytes bytes(written);
        ASSERT_TRUE(bytes.readByteOrderMark());
        std::optional<uint16_t> orientation;
        WalkTiffDirectory(bytes, 8, [&](const TiffEntry& entry) {
            if (entry.tag == 0x0112) orientation = bytes.get16(entry.valueField.data());
            return true;
        });
        EXPECT_EQ(orientation, 1) << "in the file's own byte order, big-endian " << big;
        std::vector<uint8_t> withMark = tiff;
        withMark.insert(withMark.begin(), {'E', 'x', 'i', 'f', 0, 0});
        // Loaders hand the block over with or without its mark; the segment is the same.
        EXPECT_EQ(SegmentsForMetadata(tiff, {}, false).exif,
                  SegmentsForMetadata(withMark, {}, false).exif);
    }
    std::vector<uint8_t> junk = {'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2};
    EXPECT_FALSE(SetExifOrientation(junk, 1));
    // A profile larger than one segment is split with sequence numbers.
    const std::vector<uint8_t> icc(150000, 7);
    const JpegMetadataSegments segments = SegmentsForMetadata({}, icc, false);
    ASSERT_EQ(segments.icc.size(), 3u);
    EXPECT_EQ(segments.icc[2][4 + 12], 3);
    EXPECT_EQ(segments.icc[2][4 + 13], 3);
}

bool haveExiftool() { return std::system("exiftool -ver > /dev/null 2>&1") == 0; }

TEST(OtherPictureTypes, HeicPngAndWebpBecomeJpegWithTheirMetadata) {
    if (!haveExiftool()) GTEST_SKIP() << "exiftool is needed to give the test pictures EXIF";
    TempFolder temp;
    fs::create_directories(temp.file("src"));
    // A picture with a colour profile, half red, 96 x 64.
    VImage picture = (VImage::black(96, 64, VImage::option()->set("bands", 3)) + 40)
                         .cast(VIPS_FORMAT_UCHAR)
                         .copy(VImage::option()->set("interpretation", VIPS_INTERPRETATION_sRGB))
                         .icc_transform("srgb", VImage::option()->set("input_profile", "srgb"));
    for (const char* name : {"phone.heic", "screen.png", "web.webp"})
        picture.write_to_file(temp.file(std::string("src/") + name).c_str());
    const std::string exif =
        "exiftool -q -q -overwrite_original -Orientation#=6 -Model=CORVELLE "
        "-DateTimeOriginal='2004:12:19 13:05:09' ";
    for (const char* name : {"phone.heic", "screen.png", "web.webp"})
        ASSERT_EQ(std::system((exif + temp.file(std::string("src/") + name)).c_str()), 0) << name;

    RunSettings settings;
    settings.sourceFolder = temp.file("src");
    settings.destinationFolder = temp.file("dst");
    settings.sizeValue = 50;
    SettingsStore store(kBrevollSettings);
    StepMarkerBoard markers(StepRecordPath(store.filePath()));
    BatchRun run(settings, markers, {});
    run.collect();
    while (run.next()) {
    }
    EXPECT_EQ(run.resized(), 3);
    EXPECT_TRUE(run.failures().empty());
    struct Expected {
        const char* name;
        int orientation;  // the HEIF decoder turned the pixels already
    };
    for (const Expected& e :
         {Expected{"phone.jpg", 1}, Expected{"screen.jpg", 6}, Expected{"web.jpg", 6}}) {
        const std::string path = temp.file(std::string("dst/") + e.name);
        ASSERT_TRUE(fs::exists(path)) << e.name;
        const VImage out = VImage::new_from_file(path.c_str());
        EXPECT_EQ(out.get_string("vips-loader"), std::string("jpegload")) << e.name;
        EXPECT_EQ(out.width(), 48) << e.name;
        EXPECT_EQ(out.get_int("orientation"), e.orientation) << e.name;
        EXPECT_EQ(std::string(out.get_string("exif-ifd0-Model")).substr(0, 8), "CORVELLE")
            << e.name;
        EXPECT_NE(out.get_typeof(VIPS_META_ICC_NAME), 0u) << e.name;
    }
}

}  // namespace
}  // namespace corvelle
