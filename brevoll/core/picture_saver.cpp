#include "core/picture_saver.h"

#include <cerrno>
#include <memory>
#include <system_error>
#include <vector>

#include "core/picture_types.h"
#include "core/safe_file.h"

namespace corvelle {

namespace {

bool isJpeg(std::string_view loader) { return loader.starts_with("jpegload"); }

struct GFreeDeleter {
    void operator()(void* p) const { g_free(p); }
};

}  // namespace

std::string WriteProblem(int error) {
    switch (error) {
        case EEXIST:
            return "a file of that name is already there";
        case ENOSPC:
            return "the disk is full";
        case EDQUOT:
            return "the disk quota is used up";
        default:
            // The system's own words; strerror is not safe while other workers save.
            return std::generic_category().message(error);
    }
}

std::optional<std::string> SaverSuffixForLoader(std::string_view loader) {
    if (const std::optional<PictureType> type = PictureTypeOfLoader(loader))
        return std::string(PictureTypeInfoOf(*type).extensions.front());
    // A GIF is no type of a run, but a file named ".jpg" may hold one.
    if (loader == "gifload" || loader.starts_with("gifload_")) return std::string(".gif");
    return std::nullopt;
}

bool SaveWithSourceEncoder(const vips::VImage& canvas, const std::string& destination,
                           const SaveRequest& request, std::string* error) {
    const auto suffix = SaverSuffixForLoader(request.loader);
    if (!suffix || vips_foreign_find_save_buffer(suffix->c_str()) == nullptr) {
        if (error) *error = "no saver for the format of " + request.loader;
        return false;
    }
    const bool jpeg = isJpeg(request.loader);
    std::vector<uint8_t> bytes;
    try {
        vips::VOption* options = vips::VImage::option();
        // JPEG metadata is put in afterwards from the source's own bytes; libvips would
        // rewrite the EXIF block and damage maker notes it does not understand.
        options->set("strip", jpeg || !request.keepMetadata);
        if (jpeg) options->set("Q", request.quality);
        void* buffer = nullptr;
        size_t size = 0;
        canvas.write_to_buffer(suffix->c_str(), &buffer, &size, options);
        std::unique_ptr<void, GFreeDeleter> owned(buffer);
        const auto* begin = static_cast<const uint8_t*>(buffer);
        bytes.assign(begin, begin + size);
    } catch (const vips::VError& e) {
        if (error) *error = e.what();
        return false;
    }
    if (jpeg && request.keepMetadata && request.jpegSegments != nullptr &&
        !request.jpegSegments->empty()) {
        auto spliced = SpliceMetadataSegments(bytes, *request.jpegSegments);
        if (!spliced) {
            if (error) *error = "cannot put the EXIF data into the saved picture";
            return false;
        }
        bytes = std::move(*spliced);
    }

    AtomicFileWriter writer(destination);
    if (!writer.open()) {
        if (error)
            *error = "cannot write into the destination folder: " + WriteProblem(writer.error());
        return false;
    }
    if (!writer.write(bytes) || !writer.commit(request.replaceExisting)) {
        if (error) *error = "cannot write the picture: " + WriteProblem(writer.error());
        return false;
    }
    return true;
}

}  // namespace corvelle
