#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

#include "core/buffered_byte_source.h"
#include "core/byte_source.h"
#include "core/exif_reader.h"
#include "core/iso_media_boxes.h"
#include "core/iso_media_metadata.h"
#include "core/picture_container.h"

namespace corvelle {

namespace {

constexpr int kOpenRetries = 100;
constexpr auto kRetryPause = std::chrono::milliseconds(10);
// What a TIFF-structured name that does not begin "MM" or "II" gets read of.
constexpr size_t kHeadLength = 0xF000;
// Offsets in the metadata are 32-bit: nothing past 4 GiB can be reached.
constexpr uint64_t kLargestBlock = uint64_t{1} << 32;

// Opens a regular file for reading. A file another program holds open for writing may
// refuse for a moment, so a failed open is retried for about a second; a path that does
// not exist or may not be read is not. The open does not wait, so a named pipe given by
// mistake is refused instead of blocking until a writer comes.
std::unique_ptr<FileByteSource> OpenPicture(const std::string& path) {
    for (int attempt = 0; attempt <= kOpenRetries; ++attempt) {
        if (attempt > 0) std::this_thread::sleep_for(kRetryPause);
        const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            if (errno == ENOENT || errno == ENOTDIR || errno == EISDIR || errno == EACCES ||
                errno == ELOOP || errno == ENAMETOOLONG)
                return nullptr;
            continue;
        }
        return FileByteSource::adopt(fd);
    }
    return nullptr;
}

bool ReadExactly(ByteSource& source, uint8_t* bytes, size_t length) {
    return source.read(bytes, length) == length;
}

// `length` bytes from the current position, or what is left of the source.
MetadataPlace PlaceFromHere(const ByteSource& source, uint64_t length) {
    const uint64_t left = source.size() - source.position();
    return {source.position(), std::min(length, left)};
}

std::optional<MetadataPlace> FindInJpeg(ByteSource& source) {
    uint8_t pair[2];
    if (!ReadExactly(source, pair, 2) || pair[0] != 0xFF || pair[1] != 0xD8) return std::nullopt;
    // Skip segments by their lengths until the first APP1.
    for (;;) {
        if (!ReadExactly(source, pair, 2)) return std::nullopt;
        if (pair[0] == 0xFF && pair[1] == 0xE1) break;
        if (!ReadExactly(source, pair, 2)) return std::nullopt;
        const int length = (pair[0] << 8) | pair[1];
        // A length below 2 would step backwards or stand still; a segment reaching past the
        // end leaves nothing to find.
        if (length < 2 || !source.seek(source.position() + length - 2)) return std::nullopt;
    }
    if (!ReadExactly(source, pair, 2)) return std::nullopt;
    const size_t length = (size_t{pair[0]} << 8) | pair[1];
    uint8_t identifier[6];
    if (!ReadExactly(source, identifier, 6)) return std::nullopt;
    static constexpr uint8_t kExif[5] = {'E', 'x', 'i', 'f', 0};
    if (!std::equal(kExif, kExif + 5, identifier)) return std::nullopt;
    // The segment length counts its own two bytes and the identifier: reading that many
    // takes up to eight bytes of what follows, which the walk may see but never needs.
    return PlaceFromHere(source, length);
}

MetadataPlace FindInTiffStructured(ByteSource& source) {
    uint8_t pair[2] = {0, 0};
    const bool gotPair = ReadExactly(source, pair, 2);
    source.seek(0);
    const bool tiffOrder =
        gotPair && ((pair[0] == 'M' && pair[1] == 'M') || (pair[0] == 'I' && pair[1] == 'I'));
    return PlaceFromHere(source, tiffOrder ? kLargestBlock : kHeadLength);
}

// EXIF data in a chunk or box: real ones hold a few dozen kilobytes.
constexpr uint64_t kLargestContainerBlock = uint64_t(16) << 20;

MetadataPlaces FindInContainer(const ByteSource& source, PictureContainer container) {
    MetadataPlaces places;
    const bool isoMedia = container == PictureContainer::kIsoMedia;
    const IsoMediaMetadata media = isoMedia ? ReadIsoMediaMetadata(source) : IsoMediaMetadata();
    for (const ByteRange& range : isoMedia ? media.exif : FindContainerExif(source, container))
        if (range.length <= kLargestContainerBlock)
            places.blocks.push_back({range.offset, range.length});
    std::optional<ByteRange> thumbnail = media.thumbnailJpeg;
    if (!thumbnail && media.thumbnailItemType == FourCC("jpeg")) thumbnail = media.thumbnailItem;
    places.codedThumbnailItem = !thumbnail && media.thumbnailItem.has_value();
    if (thumbnail && thumbnail->length <= kLargestContainerBlock)
        places.thumbnailJpeg = MetadataPlace{thumbnail->offset, thumbnail->length};
    return places;
}

bool NamesJpeg(std::string path) {
    std::transform(path.begin(), path.end(), path.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return path.find(".jpg") != std::string::npos || path.find(".jpeg") != std::string::npos;
}

}  // namespace

MetadataPlaces FindMetadataPlaces(ByteSource& source, const std::string& name) {
    source.seek(0);
    MetadataPlaces places;
    if (NamesJpeg(name)) {
        if (const std::optional<MetadataPlace> place = FindInJpeg(source))
            places.blocks.push_back(*place);
        return places;
    }
    const PictureContainer container = SniffPictureContainer(source);
    if (KeepsExifInChunks(container)) return FindInContainer(source, container);
    places.blocks.push_back(FindInTiffStructured(source));
    return places;
}

std::optional<MetadataPlace> FindMetadataBlock(ByteSource& source, const std::string& name) {
    const MetadataPlaces places = FindMetadataPlaces(source, name);
    if (places.blocks.empty()) return std::nullopt;
    return places.blocks.front();
}

std::unique_ptr<ByteSource> OpenPictureForMetadata(const std::string& path) {
    std::unique_ptr<FileByteSource> file = OpenPicture(path);
    if (!file) return nullptr;
    return std::make_unique<HeadBufferedSource>(std::move(file));
}

LoadedMetadata LoadMetadataBlock(const std::string& path) {
    const std::unique_ptr<ByteSource> source = OpenPictureForMetadata(path);
    if (!source) return {};
    return LoadMetadataBlock(*source, path);
}

LoadedMetadata LoadMetadataBlock(ByteSource& source, const std::string& name) {
    LoadedMetadata loaded;
    loaded.opened = true;
    loaded.fileSize = static_cast<int64_t>(source.size());
    if (const std::optional<MetadataPlace> place = FindMetadataBlock(source, name)) {
        MetadataBlock block(size_t(place->length));
        block.resize(source.readAt(place->base, block.data(), block.size()));
        loaded.block = std::move(block);
    }
    return loaded;
}

}  // namespace corvelle
