#include "core/png_text_exif.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <string>

#include "core/chunked_exif.h"
#include "core/iso_media_boxes.h"
#include "core/text.h"

namespace corvelle {

namespace {

// Keywords are 1 to 79 bytes, then a zero byte.
constexpr size_t kMaxKeyword = 80;
// What is read of a chunk's compressed data at a time.
constexpr size_t kInflatePiece = 64 * 1024;

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = AsciiLower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

// The text of a chunk without compression, at most kMaxRawProfileText bytes of it.
std::optional<std::string> PlainText(const ByteSource& file, ByteRange text) {
    std::string out(size_t(std::min<uint64_t>(text.length, kMaxRawProfileText)), '\0');
    if (file.readAt(text.offset, out.data(), out.size()) != out.size()) return std::nullopt;
    return out;
}

// The zlib stream of a chunk inflated; none when it is damaged or unpacks to more than
// kMaxRawProfileText bytes. A stream cut short gives what it held.
std::optional<std::string> InflatedText(const ByteSource& file, ByteRange compressed) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return std::nullopt;
    std::string out;
    std::vector<uint8_t> piece(kInflatePiece);
    std::array<char, 16 * 1024> buffer;
    uint64_t read = 0;
    int status = Z_OK;
    while (status == Z_OK) {
        if (stream.avail_in == 0) {
            const size_t want = size_t(std::min<uint64_t>(piece.size(), compressed.length - read));
            if (want == 0) break;
            const size_t got = file.readAt(compressed.offset + read, piece.data(), want);
            if (got == 0) break;
            read += got;
            stream.next_in = piece.data();
            stream.avail_in = uInt(got);
        }
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = uInt(buffer.size());
        status = inflate(&stream, Z_NO_FLUSH);
        const size_t made = buffer.size() - stream.avail_out;
        if (out.size() + made > kMaxRawProfileText) {
            status = Z_MEM_ERROR;
            break;
        }
        out.append(buffer.data(), made);
        if (status == Z_BUF_ERROR && stream.avail_in == 0) status = Z_OK;  // wants more input
    }
    inflateEnd(&stream);
    if (status != Z_OK && status != Z_STREAM_END) return std::nullopt;
    return out;
}

// Where a text chunk's text begins and whether it is compressed; none for a keyword other
// than a raw EXIF profile's.
struct TextPlace {
    ByteRange text;
    bool compressed = false;
    bool app1 = false;  // an APP1 profile, which may hold XMP as well as EXIF data
};

std::optional<TextPlace> RawProfileText(const ByteSource& file, uint32_t type, ByteRange data) {
    // The keyword, and for an iTXt its flags, language tag and translated keyword: all
    // within the first few hundred bytes.
    std::string head(size_t(std::min<uint64_t>(data.length, 1024)), '\0');
    head.resize(file.readAt(data.offset, head.data(), head.size()));
    const size_t keywordEnd = head.find('\0');
    if (keywordEnd == std::string::npos || keywordEnd >= kMaxKeyword) return std::nullopt;
    const std::string keyword = AsciiLower(std::string_view(head).substr(0, keywordEnd));
    if (keyword != "raw profile type exif" && keyword != "raw profile type app1")
        return std::nullopt;
    size_t at = keywordEnd + 1;
    bool compressed = false;
    if (type == FourCC("zTXt")) {
        if (at >= head.size() || head[at] != 0) return std::nullopt;  // only deflate is defined
        compressed = true;
        at += 1;
    } else if (type == FourCC("iTXt")) {
        if (at + 2 > head.size()) return std::nullopt;
        compressed = head[at] != 0;
        if (compressed && head[at + 1] != 0) return std::nullopt;
        at += 2;
        for (int field = 0; field < 2; ++field) {  // language tag, translated keyword
            const size_t end = head.find('\0', at);
            if (end == std::string::npos) return std::nullopt;
            at = end + 1;
        }
    }
    if (at > data.length) return std::nullopt;
    return TextPlace{{data.offset + at, data.length - at}, compressed, keyword.ends_with("app1")};
}

}  // namespace

bool IsPngTextChunk(uint32_t chunkType) {
    return chunkType == FourCC("tEXt") || chunkType == FourCC("zTXt") ||
           chunkType == FourCC("iTXt");
}

std::optional<std::vector<uint8_t>> DecodeRawProfileText(std::string_view text) {
    // "\nexif\n    1234\n4578696600..." : the name line, the length, then the digits.
    size_t at = 0;
    while (at < text.size() && IsSpace(text[at])) ++at;
    while (at < text.size() && text[at] != '\n') ++at;  // the profile's name
    while (at < text.size() && IsSpace(text[at])) ++at;
    uint64_t length = 0;
    size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
        length = length * 10 + uint64_t(text[at] - '0');
        if (length > kMaxRawProfileBytes) return std::nullopt;
    }
    if (digits == 0 || length == 0) return std::nullopt;
    // Each byte takes two digits: a text too short to hold them all is no profile.
    if (text.size() - at < length * 2) return std::nullopt;
    std::vector<uint8_t> bytes;
    bytes.reserve(size_t(length));
    int high = -1;
    for (; at < text.size() && bytes.size() < length; ++at) {
        if (IsSpace(text[at])) continue;
        const int value = HexValue(text[at]);
        if (value < 0) return std::nullopt;
        if (high < 0) {
            high = value;
        } else {
            bytes.push_back(uint8_t(high << 4 | value));
            high = -1;
        }
    }
    if (bytes.size() != length) return std::nullopt;
    return bytes;
}

std::optional<std::vector<uint8_t>> ReadRawProfileExif(const ByteSource& file, uint32_t chunkType,
                                                       ByteRange data) {
    if (!IsPngTextChunk(chunkType)) return std::nullopt;
    const std::optional<TextPlace> place = RawProfileText(file, chunkType, data);
    if (!place) return std::nullopt;
    const std::optional<std::string> text =
        place->compressed ? InflatedText(file, place->text) : PlainText(file, place->text);
    if (!text) return std::nullopt;
    std::optional<std::vector<uint8_t>> bytes = DecodeRawProfileText(*text);
    if (!bytes) return std::nullopt;
    static constexpr uint8_t kIdentifier[6] = {'E', 'x', 'i', 'f', 0, 0};
    const bool identified =
        bytes->size() >= sizeof kIdentifier &&
        std::equal(std::begin(kIdentifier), std::end(kIdentifier), bytes->begin());
    if (identified)
        bytes->erase(bytes->begin(), bytes->begin() + sizeof kIdentifier);
    else if (place->app1)
        return std::nullopt;  // XMP or other data of an APP1 segment
    return bytes;
}

std::optional<ExifStructure> FindPngExifStructure(const ByteSource& file) {
    std::optional<ByteRange> exif;
    std::optional<std::vector<uint8_t>> profile;
    WalkPngChunks(file, [&](const PngChunk& chunk) {
        if (chunk.type == FourCC("eXIf")) {
            exif = SkipExifIdentifier(file, chunk.data);
            return false;
        }
        if (!profile && IsPngTextChunk(chunk.type))
            profile = ReadRawProfileExif(file, chunk.type, chunk.data);
        return true;
    });
    if (exif) return ExifStructure{*exif, {}};
    if (profile) return ExifStructure{{}, std::move(profile)};
    return std::nullopt;
}

}  // namespace corvelle
