// Feeds arbitrary bytes to the EXIF reader as a picture file: once under a JPEG name and
// once under a TIFF name, so both ways of finding the metadata block are exercised.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/exif_reader.h"
#include "core/file_info.h"

namespace {

// One private folder per fuzzing process, removed when it ends.
char g_folder[] = "/tmp/tiselk-exif-fuzz-XXXXXX";

void RemoveFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(g_folder, ignored);
}

std::string WriteTemporary(const char* suffix, const uint8_t* data, size_t size) {
    static const bool made = [] {
        if (!mkdtemp(g_folder)) std::abort();
        std::atexit(RemoveFolder);
        return true;
    }();
    (void)made;
    const std::string path = std::string(g_folder) + "/input" + suffix;
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (const char* suffix : {".jpg", ".tif"}) {
        const std::string path = WriteTemporary(suffix, data, size);
        corvelle::FileInfo info = corvelle::ReadFileInfo(path);
        (void)info;
    }
    // The block itself, as if it had come from a file.
    corvelle::MetadataBlock block(data, data + size);
    corvelle::ExifSummary summary;
    corvelle::Parse(block, summary);
    return 0;
}
