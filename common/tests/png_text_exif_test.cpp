// PNG EXIF data kept as a raw profile in a text chunk: each chunk type and compression, the
// forms of the hex text that are refused, the bound on unpacked text, and eXIf first.
#include <gtest/gtest.h>

#include "core/byte_source.h"
#include "core/picture_container.h"
#include "core/png_text_exif.h"
#include "support/exif_builder.h"
#include "support/iso_media_builder.h"

namespace corvelle {
namespace {

using namespace corvelle::testing;

const char kKeyword[] = "Raw profile type exif";

Bytes Tiff(const char* model = "Profile Camera") {
    TiffDirectory ifd0;
    ifd0.ascii(0x0110, model);
    return BuildTiff(ifd0, kBig);
}

Bytes Png(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    std::vector<std::pair<std::string, Bytes>> all = {{"IHDR", Bytes(13, 1)}};
    all.insert(all.end(), chunks.begin(), chunks.end());
    all.push_back({"IEND", {}});
    return BuildPngChunks(all);
}

// The gathered EXIF bytes of a PNG, or the bytes of its eXIf chunk; nothing when none.
Bytes FoundExif(const Bytes& png) {
    const MemoryByteSource source(png);
    const std::vector<ExifStructure> found = FindContainerExif(source, PictureContainer::kPng);
    if (found.empty()) return {};
    if (found.front().gathered) return *found.front().gathered;
    const ByteRange place = found.front().place;
    return Bytes(png.begin() + long(place.offset), png.begin() + long(place.end()));
}

TEST(PngTextExif, EachTextChunkAndCompression) {
    const std::string text = RawProfileText("exif", Tiff());
    const std::string prefixed = RawProfileText("exif", Join({{'E', 'x', 'i', 'f', 0, 0}, Tiff()}));
    std::string upper = text;
    for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
    struct Row {
        const char* what;
        Bytes chunk;
        std::string type = "tEXt";
    } rows[] = {
        {"tEXt", PngTextChunk("tEXt", kKeyword, text)},
        {"tEXt with the JPEG identifier", PngTextChunk("tEXt", kKeyword, prefixed)},
        {"capital hex digits", PngTextChunk("tEXt", kKeyword, "\nexif\n" + upper.substr(6))},
        {"zTXt", PngTextChunk("zTXt", kKeyword, text), "zTXt"},
        {"iTXt compressed", PngTextChunk("iTXt", kKeyword, text, true), "iTXt"},
        {"iTXt plain", PngTextChunk("iTXt", kKeyword, text, false), "iTXt"},
        {"APP1 profile of EXIF",
         PngTextChunk("zTXt", "Raw profile type APP1", RawProfileText("APP1", Join({{'E', 'x', 'i', 'f', 0, 0}, Tiff()}))),
         "zTXt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(FoundExif(Png({{"IDAT", {1, 2}}, {row.type, row.chunk}})), Tiff());
    }
}

TEST(PngTextExif, TextsThatAreNoExifProfile) {
    const Bytes tiff = Tiff();
    const std::string text = RawProfileText("exif", tiff);
    std::string shortDigits = text;
    shortDigits.resize(shortDigits.size() - 10);
    std::string badDigit = text;
    badDigit[badDigit.size() - 3] = 'g';
    Bytes damaged = PngTextChunk("zTXt", kKeyword, text);
    damaged[sizeof kKeyword + 3] ^= 0xFF;
    struct Row {
        const char* what;
        Bytes chunk;
        std::string type = "tEXt";
    } rows[] = {
        {"another profile", PngTextChunk("tEXt", "Raw profile type iptc", text)},
        {"APP1 holding XMP", PngTextChunk("tEXt", "Raw profile type APP1", RawProfileText("APP1", {'h', 't', 't', 'p'}))},
        {"fewer digits than the length", PngTextChunk("tEXt", kKeyword, shortDigits)},
        {"a digit that is no hex", PngTextChunk("tEXt", kKeyword, badDigit)},
        {"no length", PngTextChunk("tEXt", kKeyword, "\nexif\n\n4d4d002a")},
        {"a length past the bound", PngTextChunk("tEXt", kKeyword, "\nexif\n99999999999\n4d4d")},
        {"damaged zlib data", damaged, "zTXt"},
        {"zTXt of another method", Join({Bytes(kKeyword, kKeyword + sizeof kKeyword), {8}, Deflated(Bytes(text.begin(), text.end()))}), "zTXt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(FoundExif(Png({{row.type, row.chunk}})), Bytes());
    }
}

TEST(PngTextExif, UnpackedTextStopsAtItsBound) {
    // A profile whose text unpacks to more than the bound, from a few kilobytes of zlib data.
    const Bytes big(kMaxRawProfileBytes + 16, 0);
    const Bytes chunk = PngTextChunk("zTXt", kKeyword, RawProfileText("exif", big));
    ASSERT_LT(chunk.size(), 64u * 1024);
    EXPECT_EQ(FoundExif(Png({{"zTXt", chunk}})), Bytes());
    // A profile whose text, line breaks included, stays under the bound is read.
    Bytes fits = Tiff();
    fits.resize(kMaxRawProfileBytes / 16 * 15, 0);
    EXPECT_EQ(FoundExif(Png({{"zTXt", PngTextChunk("zTXt", kKeyword, RawProfileText("exif", fits))}})),
              fits);
}

TEST(PngTextExif, AnExifChunkWinsWhereverItLies) {
    const Bytes profile = PngTextChunk("tEXt", kKeyword, RawProfileText("exif", Tiff("Text")));
    EXPECT_EQ(FoundExif(Png({{"tEXt", profile}, {"IDAT", {1}}, {"eXIf", Tiff("Chunk")}})),
              Tiff("Chunk"));
    EXPECT_EQ(FoundExif(Png({{"tEXt", profile}, {"IDAT", {1}}})), Tiff("Text"));
}

}  // namespace
}  // namespace corvelle
