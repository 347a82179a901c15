#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "core/jpeg_file.h"
#include "core/safe_file.h"
#include "jpeg/jpeg_errors.h"

namespace corvelle {

namespace {

constexpr size_t kDestinationBufferSize = 4096;

struct Destination {
    jpeg_destination_mgr pub;  // first, so the library's pointer converts back
    std::FILE* file;
    JOCTET* buffer;
};

void initDestination(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<Destination*>(cinfo->dest);
    destination->buffer = static_cast<JOCTET*>(
        (*cinfo->mem->alloc_small)(j_common_ptr(cinfo), JPOOL_IMAGE, kDestinationBufferSize));
    destination->pub.next_output_byte = destination->buffer;
    destination->pub.free_in_buffer = kDestinationBufferSize;
}

boolean emptyOutputBuffer(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<Destination*>(cinfo->dest);
    if (std::fwrite(destination->buffer, 1, kDestinationBufferSize, destination->file) !=
        kDestinationBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    destination->pub.next_output_byte = destination->buffer;
    destination->pub.free_in_buffer = kDestinationBufferSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo) {
    auto* destination = reinterpret_cast<Destination*>(cinfo->dest);
    const size_t count = kDestinationBufferSize - destination->pub.free_in_buffer;
    if (count > 0 && std::fwrite(destination->buffer, 1, count, destination->file) != count)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    if (std::fflush(destination->file) != 0 || std::ferror(destination->file))
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void installDestination(j_compress_ptr cinfo, std::FILE* file) {
    auto* destination = static_cast<Destination*>(
        (*cinfo->mem->alloc_small)(j_common_ptr(cinfo), JPOOL_PERMANENT, sizeof(Destination)));
    destination->file = file;
    destination->buffer = nullptr;
    destination->pub.init_destination = initDestination;
    destination->pub.empty_output_buffer = emptyOutputBuffer;
    destination->pub.term_destination = termDestination;
    cinfo->dest = &destination->pub;
}

struct SaveJob {
    jpeg_compress_struct cinfo;
    JpegErrorManager errors;
    JpegMessageSink keepMessage;
    std::FILE* file = nullptr;
    const PackedDib* dib = nullptr;
    int quality = 100;
    std::string error;
};

// The libjpeg part of a save; as in the loader, nothing with a destructor is live in the
// frames a jump to the recovery point leaves.
bool encode(SaveJob& job) {
    jpeg_compress_struct& cinfo = job.cinfo;
    const PackedDib& dib = *job.dib;
    job.keepMessage = [&job](const std::string& message) { job.error = message; };
    cinfo.err = InstallJpegErrorManager(job.errors, job.keepMessage);
    if (setjmp(job.errors.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    installDestination(&cinfo, job.file);

    const bool gray = dib.bitCount() <= 8;
    cinfo.image_width = JDIMENSION(dib.width());
    cinfo.image_height = JDIMENSION(dib.height());
    cinfo.input_components = gray ? 1 : 3;
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, std::clamp(job.quality, 1, 100), TRUE);
    if (dib.xPelsPerMeter() > 0 && dib.yPelsPerMeter() > 0) {
        cinfo.density_unit = kJfifUnitDotsPerCentimetre;
        cinfo.X_density =
            UINT16(std::min(JfifDotsPerCentimetreFromPelsPerMeter(dib.xPelsPerMeter()), 65535));
        cinfo.Y_density =
            UINT16(std::min(JfifDotsPerCentimetreFromPelsPerMeter(dib.yPelsPerMeter()), 65535));
    }
    jpeg_start_compress(&cinfo, TRUE);

    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(
        j_common_ptr(&cinfo), JPOOL_IMAGE, JDIMENSION(dib.width() * cinfo.input_components), 1);
    // The picture's top row is the last one in memory.
    while (cinfo.next_scanline < cinfo.image_height) {
        CopyRowSwap(row[0], dib.pictureRow(int(cinfo.next_scanline)), dib.width(),
                    cinfo.input_components);
        jpeg_write_scanlines(&cinfo, row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

void setError(std::string* errorMessage, std::string text) {
    if (errorMessage != nullptr) *errorMessage = std::move(text);
}

}  // namespace

bool SaveJpegFile(const std::string& path, const PackedDib& dib, int quality,
                  std::string* errorMessage) {
    if (dib.bitCount() != 8 && dib.bitCount() != 24) {
        setError(errorMessage, "cannot encode: only 8-bit and 24-bit pictures are written");
        return false;
    }
    // Saving over the open photo is the normal case: the photo on disk is replaced only once
    // the new file is complete.
    AtomicFileWriter writer(path);
    if (!writer.open()) {
        setError(errorMessage, std::string("cannot write: ") + std::strerror(errno));
        return false;
    }
    auto job = std::make_unique<SaveJob>();
    job->file = writer.stream();
    job->dib = &dib;
    job->quality = quality;
    if (!encode(*job)) {
        setError(errorMessage, "cannot write: " + job->error);
        return false;
    }
    if (!writer.commit()) {
        setError(errorMessage, std::string("cannot write: ") + std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace corvelle
