#include "core/movie_date.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <string_view>

#include "core/iso_media_boxes.h"

namespace corvelle {

namespace {

constexpr std::string_view kCreationDateKey = "com.apple.quicktime.creationdate";
constexpr uint64_t kSecondsFrom1904To1970 = 2082844800;
constexpr int64_t kLastSecondOfYear9999 = 253402300799;

// "2023-06-01T14:25:30+0900" gives "2023:06:01 14:25:30"; anything else gives nothing.
std::string ExifFormOfIsoDate(std::string_view text) {
    static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
    if (text.size() < kShape.size()) return {};
    for (size_t i = 0; i < kShape.size(); ++i) {
        const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return {};
    }
    std::string exif(text.substr(0, kShape.size()));
    exif[4] = exif[7] = ':';
    exif[10] = ' ';
    return exif;
}

std::string ExifFormOfMovieTime(uint64_t secondsSince1904) {
    if (secondsSince1904 <= kSecondsFrom1904To1970) return {};
    const uint64_t unix = secondsSince1904 - kSecondsFrom1904To1970;
    if (unix > uint64_t(kLastSecondOfYear9999)) return {};
    const std::time_t time = std::time_t(unix);
    std::tm local{};
    if (!localtime_r(&time, &local)) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local) == 0) return {};
    return text;
}

// The 1-based index of the creation-date key in a "keys" box.
std::optional<uint32_t> CreationDateKeyIndex(const std::vector<uint8_t>& keys) {
    BigEndianCursor c(keys, 4);
    const uint64_t count = c.number(4);
    for (uint64_t index = 1; index <= count && c.ok(); ++index) {
        const uint64_t size = c.number(4);
        c.skip(4);  // namespace
        if (!c.ok() || size < 8 || size - 8 > c.left()) return std::nullopt;
        const size_t at = c.position();
        c.skip(size_t(size - 8));
        const std::string_view name(reinterpret_cast<const char*>(keys.data() + at),
                                    size_t(size - 8));
        if (name == kCreationDateKey) return uint32_t(index);
    }
    return std::nullopt;
}

std::string QuickTimeCreationDate(IsoBoxReader& reader, const IsoBox& meta) {
    // QuickTime's "meta" is a plain box, the ISO one a full box: the handler box tells.
    uint8_t probe[4] = {};
    reader.file().readAt(meta.payload + 4, probe, 4);
    const uint64_t skip = std::string_view(reinterpret_cast<char*>(probe), 4) == "hdlr" ? 0 : 4;
    const std::vector<IsoBox> boxes = reader.children(meta, skip);
    const auto keys = FindBox(boxes, FourCC("keys"));
    const auto list = FindBox(boxes, FourCC("ilst"));
    const auto keyBytes = keys ? reader.payloadBytes(*keys) : std::nullopt;
    const auto index = keyBytes ? CreationDateKeyIndex(*keyBytes) : std::nullopt;
    if (!index || !list) return {};
    for (const IsoBox& item : reader.children(*list)) {
        if (item.type != *index) continue;
        const auto data = FindBox(reader.children(item), FourCC("data"));
        if (!data) return {};
        // Type indicator and locale, then the text.
        char text[40] = {};
        const size_t got = reader.file().readAt(
            data->payload + 8, text,
            size_t(std::min<uint64_t>(sizeof text,
                                      data->payloadLength() > 8 ? data->payloadLength() - 8 : 0)));
        return ExifFormOfIsoDate(std::string_view(text, got));
    }
    return {};
}

std::string MovieHeaderDate(const IsoBoxReader& reader, const IsoBox& mvhd) {
    uint8_t b[12] = {};
    const size_t got = reader.file().readAt(
        mvhd.payload, b, size_t(std::min<uint64_t>(sizeof b, mvhd.payloadLength())));
    if (got < 8) return {};
    uint64_t seconds = 0;
    const int width = b[0] == 1 ? 8 : 4;
    if (got < size_t(4 + width)) return {};
    for (int i = 0; i < width; ++i) seconds = seconds << 8 | b[4 + i];
    return ExifFormOfMovieTime(seconds);
}

}  // namespace

std::string MovieShootingDateText(const ByteSource& file) {
    IsoBoxReader reader(file);
    const auto moov = FindBox(reader.topLevel(), FourCC("moov"));
    if (!moov) return {};
    const std::vector<IsoBox> boxes = reader.children(*moov);
    if (const auto meta = FindBox(boxes, FourCC("meta"))) {
        std::string date = QuickTimeCreationDate(reader, *meta);
        if (!date.empty()) return date;
    }
    const auto mvhd = FindBox(boxes, FourCC("mvhd"));
    return mvhd ? MovieHeaderDate(reader, *mvhd) : std::string();
}

bool StartsLikeQuickTimeMovie(const ByteSource& file) {
    uint8_t head[8] = {};
    if (file.readAt(0, head, sizeof head) != sizeof head) return false;
    const uint32_t size = uint32_t(head[0]) << 24 | uint32_t(head[1]) << 16 |
                          uint32_t(head[2]) << 8 | head[3];
    // 0: the box runs to the end of the file; 1: a 64-bit size follows.
    if (size != 0 && size != 1 && size < 8) return false;
    const std::string_view type(reinterpret_cast<const char*>(head + 4), 4);
    for (const std::string_view known : {"moov", "mdat", "wide", "free", "skip", "pnot"})
        if (type == known) return true;
    return false;
}

}  // namespace corvelle
