#include "core/convert_command.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <new>

#include "core/jpeg_file.h"
#include "core/text.h"

namespace corvelle {

namespace {

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size()) return false;
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (size_t i = 0; i < ending.size(); ++i) {
        if (AsciiLower(tail[i]) != ending[i]) return false;
    }
    return true;
}

ConvertResult failure(const std::string& path, const std::string& reason) {
    return {false, path + ": " + reason};
}

ConvertResult convert(const ConvertRequest& request);

}  // namespace

ConvertOutputKind ConvertOutputKindFor(std::string_view path) {
    if (endsWithIgnoringCase(path, ".jpg") || endsWithIgnoringCase(path, ".jpeg"))
        return ConvertOutputKind::kJpeg;
    if (endsWithIgnoringCase(path, ".bmp")) return ConvertOutputKind::kBmp;
    return ConvertOutputKind::kUnknown;
}

ConvertResult RunConvert(const ConvertRequest& request) {
    try {
        return convert(request);
    } catch (const std::bad_alloc&) {
        return failure(request.input, "out of memory");
    }
}

namespace {

ConvertResult convert(const ConvertRequest& request) {
    const ConvertOutputKind kind = ConvertOutputKindFor(request.output);
    if (kind == ConvertOutputKind::kUnknown)
        return failure(request.output, "cannot write: the name must end in .jpg, .jpeg or .bmp");

    std::string error;
    std::optional<PackedDib> picture = LoadJpegFile(request.input, &error);
    if (!picture) return failure(request.input, error);

    if (request.denoise && picture->bitCount() == 24) ApplyNoiseFilter(*request.denoise, *picture);

    if (request.gray && picture->bitCount() == 24) {
        picture = RenderHighLevelGray(*picture, *request.gray);
        if (!picture) return failure(request.input, "out of memory for the gray rendering");
    }

    if (request.trimSize != kTrimNone) {
        const DibRect frame = TrimFrameInPicture(picture->width(), picture->height(),
                                                 request.trimSize, request.trimOffset);
        if (frame.width() > 0 && frame.height() > 0) {
            picture = CropDib(*picture, frame);
            if (!picture) return failure(request.input, "out of memory for the trimmed picture");
        }
    }

    if (kind == ConvertOutputKind::kBmp) {
        errno = 0;
        if (!WriteBmpFile(request.output, *picture))
            return failure(request.output,
                           std::string("cannot write: ") +
                               (errno != 0 ? std::strerror(errno) : "write failed"));
        return {true, {}};
    }
    if (!SaveJpegFile(request.output, *picture, request.quality, &error))
        return failure(request.output, error);
    return {true, {}};
}

}  // namespace

std::optional<int> ParseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-') return std::nullopt;
    }
    int value = 0;
    const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || status != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<std::pair<int, int>> ParseIntegerPair(std::string_view text) {
    const size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const std::optional<int> first = ParseInteger(text.substr(0, comma));
    const std::optional<int> second = ParseInteger(text.substr(comma + 1));
    if (!first || !second) return std::nullopt;
    return std::pair{*first, *second};
}

}  // namespace corvelle
