#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>

#include "core/jpeg_file.h"
#include "core/jpeg_glue.h"
#include "core/picture_memory.h"

namespace corvelle {

namespace {

constexpr size_t kSourceBufferSize = 4096;

// Where the source manager takes its bytes from: an open file, or bytes in memory.
struct ByteInput {
    std::FILE* file = nullptr;
    std::span<const uint8_t> memory;
    size_t memoryAt = 0;

    size_t read(JOCTET* buffer, size_t wanted) {
        if (file != nullptr) return std::fread(buffer, 1, wanted, file);
        const size_t count = std::min(wanted, memory.size() - memoryAt);
        if (count > 0) std::memcpy(buffer, memory.data() + memoryAt, count);
        memoryAt += count;
        return count;
    }
};

struct Source {
    jpeg_source_mgr pub;  // first, so the library's pointer converts back
    ByteInput* input;
    JOCTET* buffer;
    bool atStart;
};

void initSource(j_decompress_ptr cinfo) { reinterpret_cast<Source*>(cinfo->src)->atStart = true; }

boolean fillInputBuffer(j_decompress_ptr cinfo) {
    auto* source = reinterpret_cast<Source*>(cinfo->src);
    size_t count = source->input->read(source->buffer, kSourceBufferSize);
    if (count == 0) {
        if (source->atStart) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A cut-off file ends with an end-of-image marker of our own, so the picture
        // decoded so far is kept.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        source->buffer[0] = JOCTET(0xFF);
        source->buffer[1] = JOCTET(JPEG_EOI);
        count = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = count;
    source->atStart = false;
    return TRUE;
}

void skipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    jpeg_source_mgr* source = cinfo->src;
    while (size_t(count) > source->bytes_in_buffer) {
        count -= long(source->bytes_in_buffer);
        fillInputBuffer(cinfo);
    }
    source->next_input_byte += count;
    source->bytes_in_buffer -= size_t(count);
}

void termSource(j_decompress_ptr) {}

void installSource(j_decompress_ptr cinfo, ByteInput& input) {
    auto* source = static_cast<Source*>(
        (*cinfo->mem->alloc_small)(j_common_ptr(cinfo), JPOOL_PERMANENT, sizeof(Source)));
    source->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(j_common_ptr(cinfo), JPOOL_PERMANENT, kSourceBufferSize));
    source->input = &input;
    source->atStart = true;
    source->pub.init_source = initSource;
    source->pub.fill_input_buffer = fillInputBuffer;
    source->pub.skip_input_data = skipInputData;
    source->pub.resync_to_restart = jpeg_resync_to_restart;
    source->pub.term_source = termSource;
    source->pub.bytes_in_buffer = 0;
    source->pub.next_input_byte = nullptr;
    cinfo->src = &source->pub;
}

uint8_t scaled(int a, int b) { return uint8_t((a * b + 127) / 255); }

// Four-component samples to blue, green, red. Adobe applications write CMYK inverted (0 is
// full ink), and the library hands YCCK over as such CMYK too.
void convertCmykRow(uint8_t* destination, const uint8_t* source, int width, bool inverted) {
    for (int x = 0; x < width; ++x, destination += 3, source += 4) {
        int c = source[0], m = source[1], y = source[2], k = source[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        destination[0] = scaled(y, k);
        destination[1] = scaled(m, k);
        destination[2] = scaled(c, k);
    }
}

struct LoadJob {
    jpeg_decompress_struct cinfo;
    jpeg_glue::ErrorManager errors;
    ByteInput* input = nullptr;
    uint64_t maxPixels = 0;
    std::optional<PackedDib> dib;
    std::string error;
};

// Makes the picture for the header just read; false with job.error set when refused.
bool makePicture(LoadJob& job) {
    const jpeg_decompress_struct& cinfo = job.cinfo;
    const uint64_t pixels = uint64_t(cinfo.image_width) * cinfo.image_height;
    if (job.maxPixels != 0 && pixels > job.maxPixels) {
        job.error = "cannot decode: picture too large";
        return false;
    }
    const bool gray = cinfo.num_components == 1;
    job.dib = CreatePicture(int(cinfo.image_width), int(cinfo.image_height), gray ? 8 : 24);
    if (!job.dib) {
        job.error = "cannot decode: picture too large (" + std::to_string(cinfo.image_width) +
                    " x " + std::to_string(cinfo.image_height) + ")";
        return false;
    }
    job.dib->setPelsPerMeter(PelsPerMeterFromJfifDensity(cinfo.density_unit, cinfo.X_density),
                             PelsPerMeterFromJfifDensity(cinfo.density_unit, cinfo.Y_density));
    return true;
}

// The libjpeg part of a load. Everything that must survive a jump back to the recovery
// point lives in job, and no object with a destructor is live in the frames the jump
// leaves.
bool decode(LoadJob& job) {
    jpeg_decompress_struct& cinfo = job.cinfo;
    cinfo.err = jpeg_glue::InstallErrorManager(job.errors);
    if (setjmp(job.errors.recovery) != 0) {
        jpeg_destroy_decompress(&cinfo);
        job.dib.reset();
        job.error = std::string("cannot decode: ") + job.errors.message;
        return false;
    }
    jpeg_create_decompress(&cinfo);
    installSource(&cinfo, *job.input);
    jpeg_read_header(&cinfo, TRUE);

    const bool fourComponents =
        cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (fourComponents) {
        cinfo.out_color_space = JCS_CMYK;
    } else if (cinfo.num_components != 1 && cinfo.num_components != 3) {
        job.error = "cannot decode: unsupported JPEG with " + std::to_string(cinfo.num_components) +
                    " components";
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    if (!makePicture(job)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);

    PackedDib& dib = *job.dib;
    const int width = dib.width();
    const int expected = fourComponents ? 4 : (dib.bitCount() == 8 ? 1 : 3);
    if (cinfo.output_components != expected || int(cinfo.output_width) != width ||
        int(cinfo.output_height) != dib.height()) {
        ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
    }
    const bool inverted = cinfo.saw_Adobe_marker;
    JSAMPARRAY buffer = (*cinfo.mem->alloc_sarray)(j_common_ptr(&cinfo), JPOOL_IMAGE,
                                                   JDIMENSION(width * expected), 1);
    // Rows come top first; the picture's top row is the last one in memory.
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = int(cinfo.output_scanline);
        if (jpeg_read_scanlines(&cinfo, buffer, 1) != 1) ERREXIT(&cinfo, JERR_INPUT_EOF);
        if (fourComponents) {
            convertCmykRow(dib.pictureRow(y), buffer[0], width, inverted);
        } else {
            CopyRowSwap(dib.pictureRow(y), buffer[0], width, expected);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

std::optional<PackedDib> load(ByteInput& input, std::string* errorMessage, uint64_t maxPixels) {
    auto job = std::make_unique<LoadJob>();
    job->input = &input;
    job->maxPixels = maxPixels;
    if (!decode(*job)) {
        if (errorMessage != nullptr) *errorMessage = job->error;
        return std::nullopt;
    }
    return std::move(job->dib);
}

}  // namespace

std::optional<PackedDib> LoadJpegFile(const std::string& path, std::string* errorMessage) {
    std::FILE* file = std::fopen(path.c_str(), "rbe");
    if (file == nullptr) {
        if (errorMessage != nullptr)
            *errorMessage = std::string("cannot open: ") + std::strerror(errno);
        return std::nullopt;
    }
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        if (errorMessage != nullptr)
            *errorMessage = std::string("cannot open: ") + std::strerror(EISDIR);
        return std::nullopt;
    }
    ByteInput input;
    input.file = file;
    std::optional<PackedDib> dib = load(input, errorMessage, 0);
    std::fclose(file);
    return dib;
}

std::optional<PackedDib> LoadJpegBytes(std::span<const uint8_t> bytes, std::string* errorMessage,
                                       uint64_t maxPixels) {
    ByteInput input;
    input.memory = bytes;
    return load(input, errorMessage, maxPixels);
}

}  // namespace corvelle
