#include <gtest/gtest.h>

#include <tiffio.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/byte_source.h"
#include "core/decoding/picture_decoding.h"
#include "core/decoding/tiff_decoder.h"
#include "core/decoding/tiff_directory.h"
#include "decode_test_pictures.h"
#include "support/exif_builder.h"
#include "support/temp_folder.h"

namespace corvelle {
namespace {

using testing::TiffWriteOptions;

class DecodeTiffTest : public ::testing::Test {
  protected:
    std::optional<PackedDib> writeAndDecode(const TiffWriteOptions& options,
                                            const std::vector<uint8_t>& samples) {
        const std::string path = m_folder.file("picture.tif");
        if (!testing::WriteTestTiff(path, options, samples)) {
            ADD_FAILURE() << "libtiff could not write the test picture";
            return std::nullopt;
        }
        m_bytes = testing::ReadFileBytes(path);
        return DecodePicture(path);
    }
    std::optional<PackedDib> decodeBytes(const std::vector<uint8_t>& bytes) {
        MemoryByteSource source(bytes);
        return DecodeTiff(source);
    }

    testing::TempFolder m_folder;
    std::vector<uint8_t> m_bytes;  // the file last written
};

// Rows of RGB samples with a different colour in every pixel.
std::vector<uint8_t> RgbSamples(int width, int height) {
    std::vector<uint8_t> samples;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            samples.push_back(uint8_t(x * 10));
            samples.push_back(uint8_t(y * 20));
            samples.push_back(uint8_t(x + y));
        }
    }
    return samples;
}

void ExpectRgbPicture(const PackedDib& picture, int width, int height) {
    ASSERT_EQ(picture.bitCount(), 24);
    ASSERT_EQ(picture.width(), width);
    ASSERT_EQ(picture.height(), height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = picture.pictureRow(y) + 3 * x;
            ASSERT_EQ(p[2], uint8_t(x * 10)) << x << "," << y;
            ASSERT_EQ(p[1], uint8_t(y * 20)) << x << "," << y;
            ASSERT_EQ(p[0], uint8_t(x + y)) << x << "," << y;
        }
    }
}

TEST_F(DecodeTiffTest, RgbStripsInEveryCodingGiveTheSamePixels) {
    struct Case {
        const char* what;
        int compression, predictor;
        bool bigEndian;
    };
    for (const Case c :
         {Case{"uncompressed", COMPRESSION_NONE, 1, false},
          Case{"uncompressed big-endian", COMPRESSION_NONE, 1, true},
          Case{"PackBits", COMPRESSION_PACKBITS, 1, false}, Case{"LZW", COMPRESSION_LZW, 1, true},
          Case{"LZW with predictor", COMPRESSION_LZW, PREDICTOR_HORIZONTAL, false},
          Case{"LZW with predictor big-endian", COMPRESSION_LZW, PREDICTOR_HORIZONTAL, true}}) {
        SCOPED_TRACE(c.what);
        TiffWriteOptions options;
        options.width = 13;
        options.height = 7;
        options.samplesPerPixel = 3;
        options.photometric = PHOTOMETRIC_RGB;
        options.compression = c.compression;
        options.predictor = c.predictor;
        options.rowsPerStrip = 3;  // the last strip holds one row
        options.bigEndian = c.bigEndian;
        const auto picture = writeAndDecode(options, RgbSamples(13, 7));
        ASSERT_TRUE(picture);
        ExpectRgbPicture(*picture, 13, 7);
        EXPECT_EQ(picture->stride(), 40);
        // 72 and 150 dots per inch.
        EXPECT_EQ(picture->xPelsPerMeter(), 2834);
        EXPECT_EQ(picture->yPelsPerMeter(), 5905);
    }
}

TEST_F(DecodeTiffTest, SixteenBitSamplesKeepTheirHighByteInEitherByteOrder) {
    for (const bool bigEndian : {false, true}) {
        for (const int predictor : {1, 2}) {
            TiffWriteOptions options;
            options.width = 5;
            options.height = 3;
            options.samplesPerPixel = 3;
            options.bitsPerSample = 16;
            options.photometric = PHOTOMETRIC_RGB;
            options.compression = predictor == 2 ? COMPRESSION_LZW : COMPRESSION_NONE;
            options.predictor = predictor;
            options.bigEndian = bigEndian;
            std::vector<uint16_t> values;
            for (int i = 0; i < 5 * 3; ++i) {
                values.insert(values.end(), {uint16_t(0x1234 + i * 0x0100), 0xABFF, 0x00FF});
            }
            std::vector<uint8_t> samples(values.size() * 2);
            std::memcpy(samples.data(), values.data(), samples.size());
            const auto picture = writeAndDecode(options, samples);
            ASSERT_TRUE(picture) << bigEndian << predictor;
            const uint8_t* p = picture->pictureRow(1) + 3 * 2;  // pixel 7
            EXPECT_EQ(p[2], 0x12 + 7);
            EXPECT_EQ(p[1], 0xAB);
            EXPECT_EQ(p[0], 0x00);
        }
    }
}

TEST_F(DecodeTiffTest, TilesAreAssembledAndCutAtThePictureEdge) {
    TiffWriteOptions options;
    options.width = 40;
    options.height = 20;
    options.samplesPerPixel = 3;
    options.photometric = PHOTOMETRIC_RGB;
    options.compression = COMPRESSION_LZW;
    options.tileWidth = 16;
    options.tileLength = 16;
    const auto picture = writeAndDecode(options, RgbSamples(40, 20));
    ASSERT_TRUE(picture);
    ExpectRgbPicture(*picture, 40, 20);
}

// A 1-bit page: black where (x / 3 + y) is odd, white elsewhere, width not a multiple of 8.
std::vector<uint8_t> BilevelSamples(int width, int height, bool blackIsOne) {
    const int rowBytes = (width + 7) / 8;
    std::vector<uint8_t> samples(size_t(rowBytes) * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool black = (x / 3 + y) % 2 == 1;
            if (black == blackIsOne) samples[y * rowBytes + x / 8] |= uint8_t(0x80 >> (x % 8));
        }
    }
    return samples;
}

TEST_F(DecodeTiffTest, BilevelPagesInEveryCodingShowBlackAsIndexZero) {
    struct Case {
        const char* what;
        int compression, photometric, fillOrder;
    };
    for (const Case c :
         {Case{"uncompressed black is zero", COMPRESSION_NONE, PHOTOMETRIC_MINISBLACK, 1},
          Case{"uncompressed white is zero", COMPRESSION_NONE, PHOTOMETRIC_MINISWHITE, 1},
          Case{"PackBits", COMPRESSION_PACKBITS, PHOTOMETRIC_MINISWHITE, 1},
          Case{"modified Huffman", COMPRESSION_CCITTRLE, PHOTOMETRIC_MINISWHITE, 1},
          Case{"T.4", COMPRESSION_CCITTFAX3, PHOTOMETRIC_MINISWHITE, 1},
          Case{"T.6", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE, 1},
          Case{"T.6 reversed bits", COMPRESSION_CCITTFAX4, PHOTOMETRIC_MINISWHITE,
               FILLORDER_LSB2MSB}}) {
        SCOPED_TRACE(c.what);
        TiffWriteOptions options;
        options.width = 61;
        options.height = 9;
        options.photometric = c.photometric;
        options.compression = c.compression;
        options.fillOrder = c.fillOrder;
        options.bitsPerSample = 1;
        const bool blackIsOne = c.photometric == PHOTOMETRIC_MINISWHITE;
        const auto picture = writeAndDecode(options, BilevelSamples(61, 9, blackIsOne));
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->bitCount(), 1);
        EXPECT_EQ(picture->colorTableCount(), 2);
        EXPECT_EQ(picture->colorEntry(0)[0], 0);
        EXPECT_EQ(picture->colorEntry(1)[0], 255);
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 61; ++x) {
                const bool white = (picture->pictureRow(y)[x / 8] >> (7 - x % 8)) & 1;
                ASSERT_EQ(white, (x / 3 + y) % 2 == 0) << x << "," << y;
            }
        }
    }
}

TEST_F(DecodeTiffTest, GrayLevelsAndWhiteIsZero) {
    struct Case {
        int bits, photometric;
        std::vector<uint8_t> samples;  // one row of four pixels
        int bitCount;
        std::vector<int> shown;  // gray level of each pixel through the colour table
    };
    const std::vector<Case> cases = {
        {8, PHOTOMETRIC_MINISBLACK, {0, 1, 128, 255}, 8, {0, 1, 128, 255}},
        {8, PHOTOMETRIC_MINISWHITE, {0, 1, 128, 255}, 8, {255, 254, 127, 0}},
        {4, PHOTOMETRIC_MINISBLACK, {0x0F, 0x8A}, 4, {0, 240, 128, 160}},
        {4, PHOTOMETRIC_MINISWHITE, {0x0F, 0x8A}, 4, {240, 0, 112, 80}},
        {2, PHOTOMETRIC_MINISBLACK, {0x1B}, 4, {0, 80, 160, 240}},
        {2, PHOTOMETRIC_MINISWHITE, {0x1B}, 4, {240, 160, 80, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bits) + " bits, photometric " +
                     ::testing::PrintToString(c.photometric));
        TiffWriteOptions options;
        options.width = 4;
        options.height = 1;
        options.bitsPerSample = c.bits;
        options.photometric = c.photometric;
        const auto picture = writeAndDecode(options, c.samples);
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->bitCount(), c.bitCount);
        for (int x = 0; x < 4; ++x) {
            const uint8_t* row = picture->pictureRow(0);
            const int index = c.bitCount == 8 ? row[x] : (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
            EXPECT_EQ(picture->colorEntry(index)[0], c.shown[x]) << x;
        }
    }
}

TEST_F(DecodeTiffTest, SixteenBitGrayBecomesTwentyFourBitGray) {
    TiffWriteOptions options;
    options.width = 2;
    options.height = 1;
    options.bitsPerSample = 16;
    options.photometric = PHOTOMETRIC_MINISWHITE;
    const uint16_t values[] = {0x0000, 0x40FF};
    std::vector<uint8_t> samples(4);
    std::memcpy(samples.data(), values, 4);
    const auto picture = writeAndDecode(options, samples);
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->bitCount(), 24);
    const uint8_t* row = picture->pictureRow(0);
    EXPECT_EQ(std::vector<int>(row, row + 6), (std::vector<int>{255, 255, 255, 191, 191, 191}));
}

TEST_F(DecodeTiffTest, PaletteUsesTheColourMapAtEveryDepth) {
    for (const int bits : {1, 2, 4, 8}) {
        SCOPED_TRACE(bits);
        const size_t n = size_t(1) << bits;
        TiffWriteOptions options;
        options.width = 2;
        options.height = 2;
        options.bitsPerSample = bits;
        options.photometric = PHOTOMETRIC_PALETTE;
        options.colorMap.assign(3 * n, 0);
        // The last entry is orange, entry 0 dark blue.
        options.colorMap[n - 1] = 0xFF00;
        options.colorMap[2 * n - 1] = 0x8000;
        options.colorMap[2 * n] = 0x40FF;
        // Pixels: (last, 0) on each row.
        const uint8_t last = uint8_t(n - 1);
        const uint8_t firstByte = uint8_t(last << (8 - bits));
        const std::vector<uint8_t> samples = bits == 8 ? std::vector<uint8_t>{last, 0, last, 0}
                                                       : std::vector<uint8_t>{firstByte, firstByte};
        const auto picture = writeAndDecode(options, samples);
        ASSERT_TRUE(picture);
        const int expectedBits = bits == 1 ? 1 : bits == 8 ? 8 : 4;
        ASSERT_EQ(picture->bitCount(), expectedBits);
        const uint8_t* orange = picture->colorEntry(static_cast<int>(n - 1));
        EXPECT_EQ(orange[2], 0xFF);
        EXPECT_EQ(orange[1], 0x80);
        EXPECT_EQ(orange[0], 0x00);
        EXPECT_EQ(picture->colorEntry(0)[0], 0x40);
        const uint8_t* row = picture->pictureRow(1);
        const int index = expectedBits == 8 ? row[0] : row[0] >> (8 - expectedBits);
        EXPECT_EQ(index, static_cast<int>(n - 1));
    }
}

TEST_F(DecodeTiffTest, CmykIsConvertedAndAFifthSampleSkipped) {
    struct Case {
        int bits, samples;
    };
    for (const Case c : {Case{8, 4}, Case{8, 5}, Case{16, 4}}) {
        SCOPED_TRACE(::testing::PrintToString(c.bits) + "/" + ::testing::PrintToString(c.samples));
        TiffWriteOptions options;
        options.width = 3;
        options.height = 1;
        options.samplesPerPixel = c.samples;
        options.bitsPerSample = c.bits;
        options.photometric = PHOTOMETRIC_SEPARATED;
        // Pixels: paper white; full cyan; half cyan, a quarter magenta, under black 100.
        const std::vector<std::vector<int>> inks = {
            {0, 0, 0, 0, 77}, {255, 0, 0, 0, 77}, {128, 64, 0, 100, 77}};
        std::vector<uint8_t> samples;
        for (const auto& pixel : inks) {
            for (int s = 0; s < c.samples; ++s) {
                if (c.bits == 8) {
                    samples.push_back(uint8_t(pixel[s]));
                } else {
                    const uint16_t v = uint16_t(pixel[s] * 257);
                    samples.insert(samples.end(), {uint8_t(v), uint8_t(v >> 8)});
                }
            }
        }
        const auto picture = writeAndDecode(options, samples);
        ASSERT_TRUE(picture);
        const uint8_t* row = picture->pictureRow(0);
        // v = min(255, c * (255 - k) / 255 + k) rounded, shown as 255 - v:
        // cyan 128 under 100: 78 + 100 -> 77; magenta 64: 39 + 100 -> 116; yellow 0 -> 155.
        EXPECT_EQ(std::vector<int>(row, row + 9),
                  (std::vector<int>{255, 255, 255, 255, 255, 0, 155, 116, 77}));
    }
}

TEST_F(DecodeTiffTest, RefusesWhatItCannotShowFaithfully) {
    struct Case {
        const char* what;
        TiffWriteOptions options;
    };
    auto rgb = [] {
        TiffWriteOptions o;
        o.samplesPerPixel = 3;
        o.photometric = PHOTOMETRIC_RGB;
        return o;
    };
    std::vector<Case> cases;
    cases.push_back({"planar RGB", rgb()});
    cases.back().options.planar = PLANARCONFIG_SEPARATE;
    cases.push_back({"12-bit gray", {}});
    cases.back().options.bitsPerSample = 12;
    cases.push_back({"4-bit RGB", rgb()});
    cases.back().options.bitsPerSample = 4;
    cases.push_back({"RGB with one sample", {}});
    cases.back().options.photometric = PHOTOMETRIC_RGB;
    cases.push_back({"palette without colour map", {}});
    cases.back().options.photometric = PHOTOMETRIC_PALETTE;
    cases.push_back({"Deflate", {}});
    cases.back().options.compression = COMPRESSION_ADOBE_DEFLATE;
    cases.push_back({"YCbCr", rgb()});
    cases.back().options.photometric = PHOTOMETRIC_YCBCR;
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int bytesPerRow = (8 * c.options.samplesPerPixel * c.options.bitsPerSample + 7) / 8;
        const std::vector<uint8_t> samples(size_t(bytesPerRow) * 4, 0x55);
        EXPECT_FALSE(writeAndDecode(c.options, samples));
    }
}

// Hand-built directories for what libtiff would not write.
std::vector<uint8_t> HandBuiltTiff(testing::TiffDirectory directory, size_t pixelBytes,
                                   testing::ByteOrder order = testing::kLittle) {
    std::vector<uint8_t> bytes = testing::BuildTiff(directory, order);
    const uint32_t data = static_cast<uint32_t>(bytes.size());
    bytes.resize(bytes.size() + pixelBytes, 0xF0);
    // The strip offset is patched in afterwards: every directory below ends with tag 273.
    const size_t entry = 8 + 2 + 12 * (directory.entries().size() - 1);
    for (int i = 0; i < 4; ++i) {
        const int shift = order == testing::kLittle ? 8 * i : 8 * (3 - i);
        bytes[entry + 8 + i] = uint8_t(data >> shift);
    }
    return bytes;
}

TEST_F(DecodeTiffTest, MissingTagsTakeTheirDefaults) {
    // No size, bits or photometric: a 100 x 100 white-is-zero bilevel picture at 300 dpi.
    testing::TiffDirectory directory;
    directory.longs(273, {0});
    const auto picture = decodeBytes(HandBuiltTiff(directory, 100 * 13));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 100);
    EXPECT_EQ(picture->height(), 100);
    EXPECT_EQ(picture->bitCount(), 1);
    EXPECT_EQ(picture->xPelsPerMeter(), 11811);
    // 0xF0 inverted: four white pixels after four black ones.
    EXPECT_EQ(picture->pictureRow(50)[0], 0x0F);
}

TEST_F(DecodeTiffTest, RefusesValuesTheDirectoryMayNotHold) {
    struct Case {
        const char* what;
        uint16_t tag;
        std::vector<uint16_t> values;
    };
    const std::vector<Case> cases = {
        {"compression 7", 259, {7}},     {"photometric 4", 262, {4}},
        {"photometric 6", 262, {6}},     {"unequal bits per sample", 258, {8, 8, 4}},
        {"predictor 3", 317, {3}},       {"two-dimensional T.4", 292, {1}},
        {"no rows per strip", 278, {0}}, {"no width", 256, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::TiffDirectory directory;
        directory.shorts(259, {c.tag == 292 ? uint16_t(3) : uint16_t(1)});
        directory.shorts(c.tag, c.values);
        directory.longs(273, {0});
        EXPECT_FALSE(decodeBytes(HandBuiltTiff(directory, 100 * 13)));
    }
    // Planar configuration is only checked when there are several samples.
    testing::TiffDirectory single;
    single.shorts(284, {7}).longs(273, {0});
    EXPECT_TRUE(decodeBytes(HandBuiltTiff(single, 100 * 13)));
}

TEST_F(DecodeTiffTest, RefusesPicturesTooLargeForMemory) {
    // 40000 x 30000 RGB is 3.6 GB of bitmap from a file of a few hundred bytes.
    testing::TiffDirectory directory;
    directory.longs(256, {40000}).longs(257, {30000}).shorts(258, {8, 8, 8});
    directory.shorts(262, {2}).shorts(277, {3}).longs(273, {0});
    EXPECT_FALSE(decodeBytes(HandBuiltTiff(directory, 1000)));
    // 100 million pixels in one row: small enough in bytes, but the row's bit length
    // would overflow the bitmap's 32-bit stride arithmetic.
    testing::TiffDirectory wide;
    wide.longs(256, {100'000'000}).longs(257, {1}).shorts(258, {8, 8, 8});
    wide.shorts(262, {2}).shorts(277, {3}).longs(273, {0});
    EXPECT_FALSE(decodeBytes(HandBuiltTiff(wide, 1000)));
    // A billion 1-bit pixels across in tiles 16 wide: 67 million tiles to a row.
    testing::TiffDirectory manyTiles;
    manyTiles.longs(256, {1u << 30}).longs(257, {1}).longs(322, {16}).longs(323, {16});
    manyTiles.longs(324, {0});
    EXPECT_FALSE(decodeBytes(HandBuiltTiff(manyTiles, 1000)));
    // A tile as large as that is refused too, whatever the picture's size.
    testing::TiffDirectory tiled;
    tiled.longs(256, {16}).longs(257, {16}).longs(322, {1u << 20}).longs(323, {1u << 20});
    tiled.longs(324, {0});
    EXPECT_FALSE(decodeBytes(HandBuiltTiff(tiled, 1000)));
}

TEST_F(DecodeTiffTest, RefusesUnknownByteOrderAndUnreachableDirectory) {
    TiffWriteOptions options;
    ASSERT_TRUE(writeAndDecode(options, std::vector<uint8_t>(32, 7)));
    std::vector<uint8_t> bytes = m_bytes;
    bytes[0] = bytes[1] = 'X';
    EXPECT_FALSE(decodeBytes(bytes));
    bytes = m_bytes;
    bytes[0] = 'M';  // "MI"
    EXPECT_FALSE(decodeBytes(bytes));
    bytes = m_bytes;
    bytes[4] = bytes[5] = bytes[6] = 0xFF;  // first directory far past the end
    EXPECT_FALSE(decodeBytes(bytes));
    EXPECT_FALSE(decodeBytes(std::vector<uint8_t>(m_bytes.begin(), m_bytes.begin() + 7)));
    EXPECT_FALSE(decodeBytes({}));
}

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

// Where the values of `tag` lie in the first directory of a little-endian file (arrays only).
size_t ValuesOf(const std::vector<uint8_t>& bytes, uint16_t tag) {
    const uint32_t directory = Le32(bytes, 4);
    const int count = bytes[directory] | bytes[directory + 1] << 8;
    for (int i = 0; i < count; ++i) {
        const size_t entry = directory + 2 + 12 * size_t(i);
        if ((bytes[entry] | bytes[entry + 1] << 8) == tag) return Le32(bytes, entry + 8);
    }
    ADD_FAILURE() << "no tag " << tag;
    return 0;
}

TEST_F(DecodeTiffTest, TruncatedDataKeepsWhatWasThere) {
    // Uncompressed data cut in the middle: the rows present, zeros below.
    testing::TiffDirectory directory;
    directory.longs(256, {10}).longs(257, {10}).shorts(258, {8, 8, 8});
    directory.shorts(262, {2}).shorts(277, {3}).longs(273, {0});
    std::vector<uint8_t> bytes = HandBuiltTiff(directory, 300);
    bytes.resize(bytes.size() - 150);
    const auto cut = decodeBytes(bytes);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->pictureRow(4)[29], 0xF0);
    EXPECT_EQ(cut->pictureRow(5)[0], 0);
    EXPECT_EQ(cut->pictureRow(9)[29], 0);

    // LZW in five strips of two rows, the last one's data missing.
    TiffWriteOptions options;
    options.width = 10;
    options.height = 10;
    options.samplesPerPixel = 3;
    options.photometric = PHOTOMETRIC_RGB;
    options.compression = COMPRESSION_LZW;
    options.rowsPerStrip = 2;
    ASSERT_TRUE(writeAndDecode(options, RgbSamples(10, 10)));
    const size_t offsets = ValuesOf(m_bytes, 273);
    std::vector<uint8_t> missing = m_bytes;
    missing[offsets + 4 * 4 + 3] = 0x7F;
    const auto partial = decodeBytes(missing);
    ASSERT_TRUE(partial);
    for (int y = 0; y < 10; ++y) {
        EXPECT_EQ(partial->pictureRow(y)[3 * 9 + 2], y < 8 ? 90 : 0) << y;
    }

    // Not one strip decodes: no picture.
    std::vector<uint8_t> broken = m_bytes;
    for (int strip = 0; strip < 5; ++strip) {
        const uint32_t at = Le32(m_bytes, offsets + 4 * size_t(strip));
        std::fill(broken.begin() + at, broken.begin() + at + 3, 0xFF);
    }
    EXPECT_FALSE(decodeBytes(broken));
}

TEST(TiffDirectory, CountsPagesAndSurvivesLoops) {
    testing::TempFolder folder;
    TiffWriteOptions options;
    options.extraPages = 2;
    ASSERT_TRUE(
        testing::WriteTestTiff(folder.file("pages.tif"), options, std::vector<uint8_t>(32, 1)));
    std::vector<uint8_t> bytes = testing::ReadFileBytes(folder.file("pages.tif"));
    MemoryByteSource source(bytes);
    auto description = ReadTiffDescription(source);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->pageCount, 3);

    // A directory whose next pointer leads back to itself is counted once.
    testing::TiffDirectory directory;
    directory.longs(256, {4}).longs(273, {8});
    std::vector<uint8_t> loop = testing::BuildTiff(directory, testing::kBig);
    const size_t next = 8 + 2 + 12 * 2;
    loop[next + 3] = 8;
    MemoryByteSource loopSource(loop);
    description = ReadTiffDescription(loopSource);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->pageCount, 1);
    EXPECT_EQ(description->byteOrder, ByteOrder::kBigEndian);
    EXPECT_EQ(description->width, 4u);
}

TEST(TiffDirectory, EntriesPastTheEndAreLeftOutAndTheOthersKept) {
    testing::TiffDirectory directory;
    directory.longs(256, {21}).longs(257, {5}).longs(273, {1, 2, 3, 4, 5, 6});
    std::vector<uint8_t> bytes = testing::BuildTiff(directory, testing::kLittle);
    // Claim 40 entries where 3 are written, and cut the strip offset array after two values.
    bytes[8] = 40;
    const size_t arrayStart = 8 + 2 + 12 * 3 + 4;
    bytes.resize(arrayStart + 9);
    MemoryByteSource source(bytes);
    const auto description = ReadTiffDescription(source);
    ASSERT_TRUE(description);
    EXPECT_EQ(description->width, 21u);
    EXPECT_EQ(description->height, 5u);
    EXPECT_EQ(description->stripOffsets, (std::vector<uint32_t>{1, 2}));
}

}  // namespace
}  // namespace corvelle
