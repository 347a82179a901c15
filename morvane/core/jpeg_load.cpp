#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/jpeg_file.h"
#include "jpeg/jpeg_decoder.h"

namespace corvelle {

namespace {

// Morvane's one line for a refused stream. The library's last message (the fatal one comes
// after any warning) says why, unless the decoder stopped for reasons of its own.
std::string DecodeFailure(const JpegOutcome& outcome, const std::string& libraryMessage) {
    switch (outcome.refusal) {
        case JpegRefusal::kTooLarge:
            return "cannot decode: picture too large (" + std::to_string(outcome.width) + " x " +
                   std::to_string(outcome.height) + ")";
        case JpegRefusal::kTooManyScans:
            return "cannot decode: too many scans";
        case JpegRefusal::kAbandoned:
            return "cannot decode: stopped";
        case JpegRefusal::kNone:
        case JpegRefusal::kLibraryError:
            break;
    }
    const int components = outcome.components;
    if (components != 0 && components != 1 && components != 3 && components != 4)
        return "cannot decode: unsupported JPEG with " + std::to_string(components) +
               " components";
    return "cannot decode: " + libraryMessage;
}

std::optional<PackedDib> Load(ByteSource& source, std::string* errorMessage,
                              const PictureLimits& limits) {
    std::string lastMessage;
    JpegOutcome outcome;
    std::optional<PackedDib> picture = DecodeJpeg(
        source, [&](const std::string& message) { lastMessage = message; }, limits, &outcome);
    if (!picture && errorMessage != nullptr) *errorMessage = DecodeFailure(outcome, lastMessage);
    return picture;
}

}  // namespace

std::optional<PackedDib> LoadJpegFile(const std::string& path, std::string* errorMessage) {
    const auto fail = [&](int error) -> std::optional<PackedDib> {
        if (errorMessage != nullptr) *errorMessage = std::string("cannot open: ") + std::strerror(error);
        return std::nullopt;
    };
    // Not blocking: a named pipe given by mistake is refused instead of waiting for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return fail(errno);
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        return fail(EISDIR);
    }
    const std::unique_ptr<FileByteSource> source = FileByteSource::adopt(fd);
    if (!source) return fail(EINVAL);
    return Load(*source, errorMessage, PictureLimits{});
}

std::optional<PackedDib> LoadJpegBytes(std::span<const uint8_t> bytes, std::string* errorMessage,
                                       const PictureLimits& limits) {
    MemoryByteSource source(bytes);
    return Load(source, errorMessage, limits);
}

}  // namespace corvelle
