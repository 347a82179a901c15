#pragma once

// Pictures for Brevoll's tests: small JPEGs with an EXIF block that carries a shooting
// date and a maker note, written where a test wants them.
#include <cstdint>
#include <string>
#include <vector>

namespace corvelle::testing {

struct TestPictureOptions {
    int width = 64;
    int height = 48;
    int components = 3;
    std::string shotDate = "2004:12:19 13:05:09";
    bool withExif = true;
    bool withIcc = false;
    uint32_t color = 0x808080;  // every pixel, 0xRRGGBB
    bool pattern = false;       // a busy pattern instead of one colour
};

std::vector<uint8_t> MakeTestPicture(const TestPictureOptions& options = {});
void WriteTestPicture(const std::string& path, const TestPictureOptions& options = {});

// The whole APP1, APP2, APP13 and comment segments of a JPEG file, in file order.
std::vector<std::vector<uint8_t>> MetadataSegmentsOf(const std::vector<uint8_t>& jpeg);

// The maker note every test picture carries: bytes that no EXIF rewriter would keep.
std::vector<uint8_t> TestMakerNote();

}  // namespace corvelle::testing
