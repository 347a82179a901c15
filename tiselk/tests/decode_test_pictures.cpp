#include "decode_test_pictures.h"

#include <tiffio.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>


namespace corvelle::testing {

namespace {

bool WriteDirectory(TIFF* tiff, const TiffWriteOptions& o, const std::vector<uint8_t>& samples) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, o.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, o.height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, o.samplesPerPixel);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, o.bitsPerSample);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, o.photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, o.compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, o.planar);
    TIFFSetField(tiff, TIFFTAG_FILLORDER, o.fillOrder);
    TIFFSetField(tiff, TIFFTAG_XRESOLUTION, 72.0f);
    TIFFSetField(tiff, TIFFTAG_YRESOLUTION, 150.0f);
    TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    if (o.predictor != 1) TIFFSetField(tiff, TIFFTAG_PREDICTOR, o.predictor);
    if (o.photometric == PHOTOMETRIC_SEPARATED && o.samplesPerPixel > 4) {
        const uint16_t extra[] = {EXTRASAMPLE_UNSPECIFIED};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, extra);
    }
    if (!o.colorMap.empty()) {
        const size_t n = size_t(1) << o.bitsPerSample;
        std::vector<uint16_t> map = o.colorMap;
        TIFFSetField(tiff, TIFFTAG_COLORMAP, map.data(), map.data() + n, map.data() + 2 * n);
    }
    const size_t rowBytes = (size_t(o.width) * o.samplesPerPixel * o.bitsPerSample + 7) / 8;
    if (o.tileWidth) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, o.tileWidth);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, o.tileLength);
        const size_t pixelBytes = size_t(o.samplesPerPixel) * o.bitsPerSample / 8;
        std::vector<uint8_t> tile(TIFFTileSize(tiff));
        for (int y = 0; y < o.height; y += o.tileLength) {
            for (int x = 0; x < o.width; x += o.tileWidth) {
                std::fill(tile.begin(), tile.end(), 0);
                for (int r = 0; r < o.tileLength && y + r < o.height; ++r) {
                    for (int c = 0; c < o.tileWidth && x + c < o.width; ++c) {
                        std::memcpy(&tile[(size_t(r) * o.tileWidth + c) * pixelBytes],
                                    &samples[(y + r) * rowBytes + (x + c) * pixelBytes],
                                    pixelBytes);
                    }
                }
                if (TIFFWriteTile(tiff, tile.data(), x, y, 0, 0) < 0) return false;
            }
        }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP,
                     o.rowsPerStrip ? o.rowsPerStrip : TIFFDefaultStripSize(tiff, 0));
        std::vector<uint8_t> row(rowBytes);
        const int planes = o.planar == PLANARCONFIG_SEPARATE ? o.samplesPerPixel : 1;
        for (int plane = 0; plane < planes; ++plane) {
            for (int y = 0; y < o.height; ++y) {
                std::memcpy(row.data(), &samples[y * rowBytes], rowBytes);
                if (TIFFWriteScanline(tiff, row.data(), y, plane) < 0) return false;
            }
        }
    }
    return TIFFWriteDirectory(tiff) != 0;
}

}  // namespace

bool WriteTestTiff(const std::string& path, const TiffWriteOptions& options,
                   const std::vector<uint8_t>& samples) {
    TIFF* tiff = TIFFOpen(path.c_str(), options.bigEndian ? "wb" : "wl");
    if (!tiff) return false;
    bool ok = WriteDirectory(tiff, options, samples);
    for (int page = 0; ok && page < options.extraPages; ++page) {
        ok = WriteDirectory(tiff, options, samples);
    }
    TIFFClose(tiff);
    return ok;
}

}  // namespace corvelle::testing
