#include "core/gray16_files.h"

#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/gray_icc_profile.h"
#include "core/safe_file.h"

namespace corvelle {

namespace {

void SetError(std::string* errorMessage, std::string text) {
    if (errorMessage != nullptr) *errorMessage = std::move(text);
}

bool Fail(std::string* errorMessage, const std::string& reason) {
    SetError(errorMessage, "cannot write: " + reason);
    return false;
}

// ---- PNG ----

struct PngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    std::string error;
};

void PngError(png_structp png, png_const_charp message) {
    static_cast<PngJob*>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

// The libpng part; libpng jumps back here on an error, so nothing with a destructor lives in
// this frame and everything it needs is in job.
bool EncodePng(PngJob& job, std::FILE* file, const Gray16Picture& picture,
               const std::vector<uint8_t>& profile) {
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_init_io(job.png, file);
    png_set_IHDR(job.png, job.info, png_uint_32(picture.width), png_uint_32(picture.height), 16,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!profile.empty()) {
        png_set_iCCP(job.png, job.info, "Gray sRGB", PNG_COMPRESSION_TYPE_BASE, profile.data(),
                     png_uint_32(profile.size()));
    }
    if (picture.xPelsPerMeter > 0 && picture.yPelsPerMeter > 0) {
        png_set_pHYs(job.png, job.info, png_uint_32(picture.xPelsPerMeter),
                     png_uint_32(picture.yPelsPerMeter), PNG_RESOLUTION_METER);
    }
    png_write_info(job.png, job.info);
    png_set_swap(job.png);  // our samples are in the machine's order, PNG's are big-endian
    for (int y = 0; y < picture.height; ++y) {
        const uint16_t* row = picture.samples.data() + size_t(y) * size_t(picture.width);
        png_write_row(job.png, reinterpret_cast<png_const_bytep>(row));
    }
    png_write_end(job.png, nullptr);
    return true;
}

// ---- TIFF ----

// libtiff's messages for one file, kept instead of printed.
int KeepTiffMessage(TIFF*, void* user, const char*, const char* format, va_list arguments) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, arguments);
    *static_cast<std::string*>(user) = text;
    return 1;
}

int IgnoreTiffMessage(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// Strips of about 256 KB: large enough for Deflate to find its repeats, small enough for a
// reader to hold one.
uint32_t RowsPerStrip(int width) {
    const uint32_t rowBytes = uint32_t(width) * 2;
    return std::max<uint32_t>(1, (256u << 10) / rowBytes);
}

bool EncodeTiff(TIFF* tiff, const Gray16Picture& picture, const std::vector<uint8_t>& profile) {
    bool ok = TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(picture.width)) &&
              TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(picture.height)) &&
              TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 16) &&
              TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1) &&
              TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK) &&
              TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) &&
              TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE) &&
              TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) &&
              TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, RowsPerStrip(picture.width));
    if (ok && picture.xPelsPerMeter > 0 && picture.yPelsPerMeter > 0) {
        ok = TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER) &&
             TIFFSetField(tiff, TIFFTAG_XRESOLUTION, picture.xPelsPerMeter / 100.0) &&
             TIFFSetField(tiff, TIFFTAG_YRESOLUTION, picture.yPelsPerMeter / 100.0);
    }
    if (ok && !profile.empty())
        ok = TIFFSetField(tiff, TIFFTAG_ICCPROFILE, uint32_t(profile.size()), profile.data());
    // libtiff's strip writer takes a non-const buffer but leaves it alone.
    std::vector<uint16_t> row(size_t(picture.width));
    for (int y = 0; ok && y < picture.height; ++y) {
        const uint16_t* source = picture.samples.data() + size_t(y) * size_t(picture.width);
        std::memcpy(row.data(), source, row.size() * sizeof(uint16_t));
        ok = TIFFWriteScanline(tiff, row.data(), uint32_t(y), 0) == 1;
    }
    return ok;
}

bool PictureIsWhole(const Gray16Picture& picture) {
    return picture.width > 0 && picture.height > 0 &&
           picture.samples.size() == size_t(picture.width) * size_t(picture.height);
}

}  // namespace

bool SaveGray16Png(const std::string& path, const Gray16Picture& picture,
                   std::string* errorMessage) {
    if (!PictureIsWhole(picture)) return Fail(errorMessage, "no picture");
    AtomicFileWriter writer(path);
    if (!writer.open()) return Fail(errorMessage, std::strerror(errno));
    auto job = std::make_unique<PngJob>();
    job->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, job.get(), PngError, PngWarning);
    if (job->png != nullptr) job->info = png_create_info_struct(job->png);
    if (job->info == nullptr) {
        png_destroy_write_struct(&job->png, nullptr);
        return Fail(errorMessage, "out of memory");
    }
    const bool encoded = EncodePng(*job, writer.stream(), picture, GrayIccProfile());
    png_destroy_write_struct(&job->png, &job->info);
    if (!encoded) return Fail(errorMessage, job->error);
    if (std::ferror(writer.stream()) || !writer.commit())
        return Fail(errorMessage, std::strerror(errno));
    return true;
}

bool SaveGray16Tiff(const std::string& path, const Gray16Picture& picture,
                    std::string* errorMessage) {
    if (!PictureIsWhole(picture)) return Fail(errorMessage, "no picture");
    AtomicFileWriter writer(path);
    if (!writer.open()) return Fail(errorMessage, std::strerror(errno));
    std::string error;
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, KeepTiffMessage, &error);
    TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreTiffMessage, nullptr);
    // libtiff writes the temporary file through a descriptor of its own; the writer's stream
    // stays empty and only does the renaming.
    TIFF* tiff = TIFFOpenExt(writer.tempPath().c_str(), "w", options);
    TIFFOpenOptionsFree(options);
    if (tiff == nullptr) return Fail(errorMessage, error.empty() ? "cannot create" : error);
    const bool encoded = EncodeTiff(tiff, picture, GrayIccProfile());
    const bool flushed = encoded && TIFFFlush(tiff) == 1;
    TIFFClose(tiff);
    if (!flushed) return Fail(errorMessage, error.empty() ? "write error" : error);
    if (!writer.commit()) return Fail(errorMessage, std::strerror(errno));
    return true;
}

}  // namespace corvelle
