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
#include "core/exif/exif_reader.h"
#include "core/exif_locator.h"
#include "core/iso_media_boxes.h"
#include "core/iso_media_metadata.h"
#include "core/picture_container.h"
#include "core/picture_types.h"

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

// EXIF data in a chunk or box: real ones hold a few dozen kilobytes.
constexpr uint64_t kLargestContainerBlock = uint64_t(16) << 20;

MetadataPlaces FindInContainer(const ByteSource& source, PictureContainer container) {
    MetadataPlaces places;
    const bool isoMedia = container == PictureContainer::kIsoMedia;
    const IsoMediaMetadata media = isoMedia ? ReadIsoMediaMetadata(source) : IsoMediaMetadata();
    for (ExifStructure structure : isoMedia ? media.exif : FindContainerExif(source, container)) {
        if (structure.gathered)
            places.gathered = std::move(*structure.gathered);
        else if (structure.place.length <= kLargestContainerBlock)
            places.blocks.push_back({structure.place.offset, structure.place.length});
    }
    std::optional<ByteRange> thumbnail = media.thumbnailJpeg;
    if (!thumbnail && media.thumbnailItemType == FourCC("jpeg")) thumbnail = media.thumbnailItem;
    places.codedThumbnailItem = !thumbnail && media.thumbnailItem.has_value();
    if (thumbnail && thumbnail->length <= kLargestContainerBlock)
        places.thumbnailJpeg = MetadataPlace{thumbnail->offset, thumbnail->length};
    return places;
}

}  // namespace

MetadataPlaces FindMetadataPlaces(ByteSource& source, const std::string& name) {
    source.seek(0);
    const PictureContainer readAs =
        ContainerToRead(PictureTypeOfName(name, PictureNameRule::kJpgOrJpegAnywhere),
                        SniffPictureContainer(source));
    if (KeepsExifInChunks(readAs)) return FindInContainer(source, readAs);
    MetadataPlaces places;
    if (readAs == PictureContainer::kJpeg) {
        // The block is as long as the segment length says, counted from the TIFF header:
        // eight bytes more than the segment holds, as far as the file goes.
        if (const std::optional<ByteRange> tiff = FindJpegExif(source))
            places.blocks.push_back(
                {tiff->offset, std::min<uint64_t>(tiff->length + 8, source.size() - tiff->offset)});
        return places;
    }
    const ByteRange tiff = TiffStructuredExif(source, kHeadLength);
    places.blocks.push_back({tiff.offset, std::min(tiff.length, kLargestBlock)});
    return places;
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
    MetadataPlaces places = FindMetadataPlaces(source, name);
    if (places.gathered) {
        loaded.block = std::move(*places.gathered);
    } else if (!places.blocks.empty()) {
        const MetadataPlace& place = places.blocks.front();
        MetadataBlock block(size_t(place.length));
        block.resize(source.readAt(place.base, block.data(), block.size()));
        loaded.block = std::move(block);
    }
    return loaded;
}

}  // namespace corvelle
