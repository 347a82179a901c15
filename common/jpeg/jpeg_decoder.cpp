#include "jpeg/jpeg_decoder.h"

#include <array>
#include <memory>
#include <vector>

#include "core/cmyk_to_light.h"
#include "jpeg/jpeg_errors.h"

namespace corvelle {

namespace {

constexpr size_t kSourceBufferSize = 4096;
// No real picture has this many scans; a crafted one could keep the decoder busy for minutes.
constexpr int kMaxScans = 500;

struct SourceManager {
    jpeg_source_mgr base;  // first, so that libjpeg's pointer is also ours
    ByteSource* source;
    bool startOfFile;
    JOCTET buffer[kSourceBufferSize];
};

struct ProgressManager {
    jpeg_progress_mgr base;
    JpegErrorManager* errors;
    const PictureLimits* limits;
    JpegOutcome* outcome;
};

// Everything a jump back from libjpeg returns to lives on the heap, so nothing in it can be
// lost to registers and no destructor is skipped on the way.
struct Decoding {
    jpeg_decompress_struct cinfo;
    JpegErrorManager errors;
    SourceManager sourceManager;
    ProgressManager progress;
    JpegOutcome outcome;
    std::optional<PackedDib> picture;
    std::vector<uint8_t> cmykRow;
};

// Called by libjpeg once a row or so: ends a decode quietly when the picture has too many
// scans, or when nobody wants it any more.
void WatchProgress(j_common_ptr cinfo) {
    auto* decompress = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto* progress = reinterpret_cast<ProgressManager*>(cinfo->progress);
    const bool tooManyScans = decompress->input_scan_number > kMaxScans;
    if (tooManyScans || progress->limits->isAbandoned()) {
        progress->outcome->refusal =
            tooManyScans ? JpegRefusal::kTooManyScans : JpegRefusal::kAbandoned;
        std::longjmp(progress->errors->jump, 1);
    }
}

void InitSource(j_decompress_ptr cinfo) {
    reinterpret_cast<SourceManager*>(cinfo->src)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    auto* manager = reinterpret_cast<SourceManager*>(cinfo->src);
    size_t got = manager->source->read(manager->buffer, kSourceBufferSize);
    if (got == 0) {
        if (manager->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // Let the library finish the picture with what it has, as after a real end marker.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        manager->buffer[0] = 0xFF;
        manager->buffer[1] = JPEG_EOI;
        got = 2;
    }
    manager->base.next_input_byte = manager->buffer;
    manager->base.bytes_in_buffer = got;
    manager->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    auto* manager = reinterpret_cast<SourceManager*>(cinfo->src);
    if (count <= 0) return;
    const size_t skip = static_cast<size_t>(count);
    if (skip <= manager->base.bytes_in_buffer) {
        manager->base.next_input_byte += skip;
        manager->base.bytes_in_buffer -= skip;
        return;
    }
    // Beyond the buffer: move the source on; a skip past the end lands on the end, where the
    // next fill supplies the end marker.
    ByteSource& source = *manager->source;
    const uint64_t beyond = skip - manager->base.bytes_in_buffer;
    manager->base.bytes_in_buffer = 0;
    const uint64_t left = source.size() - source.position();
    source.seek(source.position() + (beyond < left ? beyond : left));
}

void TermSource(j_decompress_ptr) {}

// CmykInkToLight for every ink under every black, made once: [black][ink].
using InkTable = std::array<std::array<uint8_t, 256>, 256>;
const InkTable& LightOfInk() {
    static const InkTable table = [] {
        InkTable t{};
        for (int k = 0; k < 256; ++k) {
            for (int ink = 0; ink < 256; ++ink)
                t[size_t(k)][size_t(ink)] = static_cast<uint8_t>(CmykInkToLight(ink, k, 255));
        }
        return t;
    }();
    return table;
}

void ConvertCmykRow(const uint8_t* cmyk, int width, bool inverted, uint8_t* bgr) {
    const uint8_t* light = LightOfInk()[0].data();
    // Adobe's writers store the inks inverted (0 is full ink).
    const uint8_t flip = inverted ? 0xFF : 0x00;
    for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const uint8_t* underBlack = light + 256 * size_t(cmyk[3] ^ flip);
        bgr[0] = underBlack[cmyk[2] ^ flip];
        bgr[1] = underBlack[cmyk[1] ^ flip];
        bgr[2] = underBlack[cmyk[0] ^ flip];
    }
}

// Runs after the jump point: holds nothing that needs destroying, since libjpeg may jump out
// of any call below.
bool DecodeRows(Decoding& d, const PictureLimits& limits) {
    jpeg_decompress_struct& cinfo = d.cinfo;
    jpeg_read_header(&cinfo, TRUE);
    d.outcome.width = cinfo.image_width;
    d.outcome.height = cinfo.image_height;
    d.outcome.components = cinfo.num_components;

    const bool gray = cinfo.num_components == 1;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = gray ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
    const int bitCount = gray ? 8 : 24;
    const int width = static_cast<int>(cinfo.image_width);
    const int height = static_cast<int>(cinfo.image_height);
    if (limits.allows(cinfo.image_width, cinfo.image_height, bitCount))
        d.picture = PackedDib::create(width, height, bitCount);
    if (!d.picture) {
        d.outcome.refusal = JpegRefusal::kTooLarge;
        return false;
    }

    jpeg_start_decompress(&cinfo);
    const int expectedComponents = gray ? 1 : cmyk ? 4 : 3;
    // Rows go straight into the bitmap, so anything wider than its rows is refused.
    if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height ||
        cinfo.output_components != expectedComponents) {
        return false;
    }
    d.picture->setPelsPerMeter(PelsPerMeterFromJfifDensity(cinfo.density_unit, cinfo.X_density),
                               PelsPerMeterFromJfifDensity(cinfo.density_unit, cinfo.Y_density));
    if (cmyk) d.cmykRow.resize(size_t(width) * 4);

    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* row = d.picture->pictureRow(static_cast<int>(cinfo.output_scanline));
        JSAMPROW target = cmyk ? d.cmykRow.data() : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) return false;
        if (cmyk) ConvertCmykRow(d.cmykRow.data(), width, cinfo.saw_Adobe_marker, row);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

}  // namespace

int PelsPerMeterFromJfifDensity(int unit, int density) {
    // 39.37 inches a metre, in exact integer arithmetic so that the truncation is that of the
    // true product (a double would make 100 dpi 3936).
    if (unit == kJfifUnitDotsPerInch) return int(int64_t(density) * 3937 / 100);
    return int(int64_t(density) * 100);
}

std::optional<PackedDib> DecodeJpeg(ByteSource& source, const JpegMessageSink& messages,
                                    const PictureLimits& limits, JpegOutcome* outcome) {
    const auto d = std::make_unique<Decoding>();
    d->cinfo.err = InstallJpegErrorManager(d->errors, messages);
    // The library's own errors leave the refusal at this; the progress watch sets its own.
    d->outcome.refusal = JpegRefusal::kLibraryError;
    if (setjmp(d->errors.jump)) {
        jpeg_destroy_decompress(&d->cinfo);
        if (outcome != nullptr) *outcome = d->outcome;
        return std::nullopt;
    }
    jpeg_create_decompress(&d->cinfo);
    d->cinfo.mem->max_memory_to_use = static_cast<long>(limits.maxWorkingBytes);
    d->progress.base.progress_monitor = WatchProgress;
    d->progress.errors = &d->errors;
    d->progress.limits = &limits;
    d->progress.outcome = &d->outcome;
    d->cinfo.progress = &d->progress.base;

    source.seek(0);
    SourceManager& manager = d->sourceManager;
    manager.base.init_source = InitSource;
    manager.base.fill_input_buffer = FillInputBuffer;
    manager.base.skip_input_data = SkipInputData;
    manager.base.resync_to_restart = jpeg_resync_to_restart;
    manager.base.term_source = TermSource;
    manager.source = &source;
    d->cinfo.src = &manager.base;

    const bool decoded = DecodeRows(*d, limits);
    jpeg_destroy_decompress(&d->cinfo);
    if (decoded) d->outcome.refusal = JpegRefusal::kNone;
    if (outcome != nullptr) *outcome = d->outcome;
    if (!decoded) return std::nullopt;
    return std::move(d->picture);
}

std::optional<PackedDib> DecodeJpegFromMemory(std::span<const uint8_t> bytes,
                                              const JpegMessageSink& messages,
                                              const PictureLimits& limits,
                                              JpegOutcome* outcome) {
    MemoryByteSource source(bytes);
    return DecodeJpeg(source, messages, limits, outcome);
}

}  // namespace corvelle
