// The maker-note decoders, fed notes laid out the way each maker's cameras write them.
#include <gtest/gtest.h>

#include <functional>

#include "core/exif/maker_notes.h"
#include "exif_test_helpers.h"

namespace corvelle {
namespace {

using testing::ByteOrder;
using testing::kBig;
using testing::kLittle;
using testing::TiffDirectory;
using Bytes = std::vector<uint8_t>;
using Lines = std::vector<std::string>;
using NoteMaker = std::function<Bytes(uint32_t offset)>;

Bytes Concat(Bytes head, const Bytes& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// A file with the Make text, an ISO entry and the maker note in its EXIF directory.
ExifSummary ParseWithNote(const std::string& make, const NoteMaker& note, ByteOrder order) {
    TiffDirectory exif;
    exif.shorts(0x8827, {100})
        .placedBytes(0x927C, testing::kUndefined, static_cast<uint32_t>(note(0).size()), note)
        .shorts(0xA001, {1});
    return testing::ParseWithExif(exif, order, make);
}

// The lines the note gave: everything between the ExifOffset line and the ColorSpace line.
Lines NoteLines(const ExifSummary& summary) {
    Lines lines;
    bool inside = false;
    for (const std::string& line : summary.reportLines) {
        if (line == "ColorSpace = 1\r\n") break;
        if (inside) lines.push_back(line);
        if (line == "ExifOffset is Exist\r\n") inside = true;
    }
    return lines;
}

TEST(ClassifyMakerTest, FirstKnownNameAnywhereWithoutCase) {
    struct Case {
        const char* make;
        int32_t id;
    };
    const Case cases[] = {
        {"NIKON CORPORATION", 1},
        {"Nikon", 1},
        {"OLYMPUS OPTICAL CO.,LTD", 2},
        {"Canon", 4},
        {"SONY", 5},
        {"FUJIFILM", 6},
        {"SEIKO EPSON CORP.", 7},
        {"KYOCERA", 8},
        {"TOSHIBA", 9},
        {"Konica Minolta", 10},
        {"SANYO Electric", 11},
        {"MIROLTA", 12},
        {"AGFA", 3},
        {"Hewlett-Packard HP", 13},
        {"SAMSUNG TECHWIN", 14},
        {"MINOLTA CO., LTD", 0},
        {"", 0},
        {"Leica", 0},
        // Order decides: NIKON is searched before HP.
        {"HP NIKON", 1},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyMaker(c.make), c.id) << c.make;
}

TEST(ResolveNoteBaseTest, HeaderOrThePointBeforeTheFirstDatum) {
    TiffDirectory dir;
    dir.shorts(0x0001, {1}).ascii(0x0002, "out of line");
    // Offsets counted from the TIFF header: the datum's offset already equals the end.
    {
        Bytes block(40, 0);
        const Bytes note = testing::BuildDirectoryAt(dir, kLittle, 40);
        block.insert(block.end(), note.begin(), note.end());
        ExifBlockReader reader(block);
        EXPECT_EQ(ResolveNoteBase(reader, 42, 2), 0);
    }
    // Offsets counted from the note's start.
    {
        Bytes block(40, 0);
        const Bytes note = testing::BuildDirectoryAt(dir, kLittle, 0);
        block.insert(block.end(), note.begin(), note.end());
        ExifBlockReader reader(block);
        EXPECT_EQ(ResolveNoteBase(reader, 42, 2), 40);
    }
    // Every datum inline: the header. A type outside 1 to 12 first: none.
    {
        TiffDirectory inlineOnly;
        inlineOnly.shorts(0x0001, {1}).raw(0x0002, 0, 1, 0).ascii(0x0003, "long text");
        const Bytes note = testing::BuildDirectoryAt(inlineOnly, kLittle, 0);
        ExifBlockReader reader(note);
        EXPECT_EQ(ResolveNoteBase(reader, 2, 1), 0);
        EXPECT_FALSE(ResolveNoteBase(reader, 2, 3));
    }
}

NoteMaker NikonFirstNote(ByteOrder order) {
    return [order](uint32_t offset) {
        TiffDirectory dir;
        dir.ascii(0x0002, "09.41")
            .shorts(0x0003, {20})
            .shorts(0x0004, {2})
            .shorts(0x0005, {3})
            .shorts(0x0006, {2})
            .shorts(0x0007, {2})
            .rationals(0x0008, {{25, 10}})
            .rationals(0x000A, {{0, 100}})
            .shorts(0x000B, {1})
            .shorts(0x0F00, {1});  // not of this layout: no line
        // Offsets count from the TIFF header.
        return Concat({'N', 'i', 'k', 'o', 'n', 0, 1, 0},
                      testing::BuildDirectoryAt(dir, order, offset + 8));
    };
}

TEST(MakerNoteTest, NikonFirstLayout) {
    const Lines expected = {
        "Unknown tag = \"09.41\"\r\n",  "Image Mode = Hi(Uncompress)\r\n",
        "Image Tone = Mono\r\n",        "Image adjustment = Contrast+\r\n",
        "White Balence = Daylight\r\n", "Focus Distance = 2.5 m\r\n",
        "Digital Zoom = No\r\n",        "Lens Converter = Installed\r\n",
    };
    for (auto order : {kBig, kLittle}) {
        const ExifSummary s = ParseWithNote("NIKON CORPORATION", NikonFirstNote(order), kBig);
        EXPECT_EQ(NoteLines(s), expected);
        EXPECT_EQ(s.iso, "160");  // from the note, replacing the EXIF ISO
    }
}

NoteMaker NikonSecondNote(ByteOrder order, uint16_t isoField) {
    return [order, isoField](uint32_t) {
        TiffDirectory dir;
        dir.bytes(0x0001, testing::kUndefined, {'0', '1', '0', '0'})
            .shorts(0x0002, {0, isoField})
            .ascii(0x0003, "COLOR")
            .ascii(0x0004, "FINE ")
            .ascii(0x0005, "AUTO")
            .ascii(0x0009, "")
            .longs(0x000B, {0xBEEF})
            .rationals(0x000C, {{105, 100}})
            .ascii(0x000F, "AUTO  ")
            .longs(0x0085, {3})
            .rationals(0x0086, {{0, 0}})  // nothing to divide by: no line
            .bytes(0x0088, testing::kUndefined, {0, 4, 0, 0});
        // Offsets count from the note's start.
        return testing::BuildDirectoryAt(dir, order, 0);
    };
}

TEST(MakerNoteTest, NikonSecondLayoutAndTheIsoField) {
    const Lines expected = {
        "Maker Header version? = 0100\r\n",
        "Color Mode = COLOR\r\n",
        "Image Quality = FINE \r\n",
        "White Balence = AUTO\r\n",
        "Tag number 0x9 = \r\n",
        "Tag number 0xb = 0x0000beef\r\n",
        "Tag number 0xc = 1.1\r\n",
        "ISO setting = AUTO  \r\n",
        "Manual focus distance = 3m\r\n",
        "AF Focus position = Right\r\n",
    };
    const ExifSummary s = ParseWithNote("NIKON", NikonSecondNote(kLittle, 200), kLittle);
    EXPECT_EQ(NoteLines(s), expected);
    EXPECT_EQ(s.iso, "200");
    EXPECT_EQ(ParseWithNote("NIKON", NikonSecondNote(kBig, 0), kBig).iso, "Auto");
    // A little-endian note in a big-endian file: 12 entries read big-endian are 3072.
    const ExifSummary mixed = ParseWithNote("NIKON", NikonSecondNote(kLittle, 200), kBig);
    EXPECT_EQ(NoteLines(mixed), expected);
    EXPECT_EQ(mixed.iso, "200");
    // The file's byte order is back for the entries after the note.
    EXPECT_EQ(mixed.reportLines.back(), "ColorSpace = 1\r\n");
}

TEST(MakerNoteTest, Olympus) {
    auto note = [](ByteOrder order) {
        return [order](uint32_t offset) {
            TiffDirectory dir;
            dir.longs(0x0200, {3, 0, 2})
                .shorts(0x0201, {3})
                .shorts(0x0202, {0})
                .ascii(0x0207, "SX753")
                .ascii(0x0209, "OLYMPUS DIGITAL CAMERA")
                .raw(0x0300, 0, 0, 0)  // type 0 ends the walk
                .shorts(0x0201, {1});
            return Concat({'O', 'L', 'Y', 'M', 'P', 0, 1, 0},
                          testing::BuildDirectoryAt(dir, order, offset + 8));
        };
    };
    const ExifSummary little = ParseWithNote("OLYMPUS OPTICAL CO.,LTD", note(kLittle), kLittle);
    const Lines expected = {
        "Right to left Panorama mode\r\n",
        "Image Quality SHQ\r\n",
        "Macro mode Off\r\n",
        "Firmware version = SX753\r\n",
        "Camera ID = OLYMPUS DIGITAL CAMERA\r\n",
    };
    EXPECT_EQ(NoteLines(little), expected);
    // In a big-endian file the note is walked big-endian; the special mode stays
    // little-endian, so its big-endian numbers read as other modes.
    const Lines big = NoteLines(ParseWithNote("OLYMPUS", note(kBig), kBig));
    ASSERT_EQ(big.size(), 5u);
    EXPECT_EQ(big[0], "Panorama mode Off\r\n");
    EXPECT_EQ(big[1], "Image Quality SHQ\r\n");
}

NoteMaker FujifilmNote() {
    return [](uint32_t) {
        TiffDirectory dir;
        dir.bytes(0x0000, testing::kUndefined, {'0', '1', '3', '0'})
            .ascii(0x1000, "NORMAL ")
            .shorts(0x1001, {3})
            .shorts(0x1002, {769})
            .shorts(0x1010, {3})
            .srationals(0x1011, {{-2, 3}})
            .shorts(0x1021, {1})
            .shorts(0x1031, {2})
            .shorts(0x1300, {0})
            .shorts(0x1301, {1});
        // Always little-endian, offsets from the note's start; the directory is at 12.
        return Concat({'F', 'U', 'J', 'I', 'F', 'I', 'L', 'M', 12, 0, 0, 0},
                      testing::BuildDirectoryAt(dir, kLittle, 12));
    };
}

TEST(MakerNoteTest, FujifilmIsLittleEndianInAnyFile) {
    const Lines expected = {
        "Maker Header version? = 0130\r\n",
        "Image Quality = NORMAL \r\n",
        "Image Sharpness = normal\r\n",
        "White Balence = Daywhite-fluorescence\r\n",
        "Flash mode = Red-eye-reduction\r\n",
        "Flash Strength Compensation = -0.7\r\n",
        "Focusing mode = Manual\r\n",
        "Picture mode = Lanscape\r\n",
        "Out of focus occurs\r\n",
    };
    EXPECT_EQ(NoteLines(ParseWithNote("FUJIFILM", FujifilmNote(), kBig)), expected);
    EXPECT_EQ(NoteLines(ParseWithNote("FUJIFILM", FujifilmNote(), kLittle)), expected);
}

TEST(MakerNoteTest, MakersWithoutDecoderGiveNoLines) {
    for (const char* make : {"Canon", "MINOLTA CO., LTD", "SONY"}) {
        const ExifSummary s = ParseWithNote(make, FujifilmNote(), kLittle);
        EXPECT_TRUE(NoteLines(s).empty()) << make;
        EXPECT_EQ(s.iso, "100");
    }
}

TEST(MakerNoteTest, LyingNotesStayInsideTheBlock) {
    // A count far past the block, entries whose data point outside it, a note at the end.
    auto lying = [](uint32_t) {
        TiffDirectory dir;
        dir.raw(0x0003, testing::kAscii, 100, 0xFFFFFF00)
            .raw(0x0004, testing::kAscii, 0xFFFFFFFF, 0)
            .raw(0x000C, testing::kRational, 1, 0x7FFFFFFF)
            .raw(0x0086, testing::kRational, 1, 0xFFFFFFF8);
        Bytes note = testing::BuildDirectoryAt(dir, kLittle, 0);
        note[0] = 0xFF;  // 255 entries in little-endian order
        return note;
    };
    const ExifSummary s = ParseWithNote("NIKON", lying, kLittle);
    EXPECT_EQ(s.iso, "100");
    EXPECT_EQ(s.reportLines.back(), "ColorSpace = 1\r\n");

    // A note position past the end of the block, for each decoder.
    for (const char* make : {"NIKON", "OLYMPUS", "FUJIFILM"}) {
        TiffDirectory exif;
        exif.raw(0x927C, testing::kUndefined, 5000, 0xFFFFFFF0);
        const ExifSummary far = testing::ParseWithExif(exif, kBig, make);
        EXPECT_EQ(far.reportLines.size(), 2u) << make;
    }
}

}  // namespace
}  // namespace corvelle
