#include "core/iso_media_metadata.h"

#include <algorithm>
#include <map>

#include "core/chunked_exif.h"
#include "core/iso_media_boxes.h"

namespace corvelle {

namespace {

// Canon's boxes in a CR3: the metadata inside "moov", the preview at the top level.
constexpr std::array<uint8_t, 16> kCanonMetadataUuid = {
    0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f, 0x11, 0xe0, 0x81, 0x11, 0xf4, 0xce, 0x46, 0x2b, 0x6a, 0x48};
constexpr std::array<uint8_t, 16> kCanonPreviewUuid = {
    0xea, 0xf4, 0x2b, 0x5e, 0x1c, 0x98, 0x4b, 0x88, 0xb9, 0xfb, 0xb7, 0xdc, 0x40, 0x6e, 0x4d, 0x16};
// The JPEG in a THMB or PRVW box follows a few fields of Canon's own.
constexpr uint64_t kJpegSearchWindow = 64;

// An Exif item kept in pieces is put together in memory, up to this size.
constexpr uint64_t kMaxJoinedExifItem = uint64_t(4) << 20;

struct HeifItem {
    uint32_t type = 0;
    // Where the item's bytes lie, in order; empty when unknown or a piece lies outside.
    std::vector<ByteRange> pieces;

    std::optional<ByteRange> location() const {
        if (pieces.size() != 1) return std::nullopt;
        return pieces.front();
    }
};

uint8_t VersionOf(const IsoBoxReader& reader, const IsoBox& box) {
    uint8_t version = 0;
    reader.file().readAt(box.payload, &version, 1);
    return version;
}

// Item id -> item type, from the "infe" boxes (versions 2 and 3 carry a type).
std::map<uint32_t, HeifItem> ReadItemInfos(IsoBoxReader& reader, const IsoBox& iinf) {
    std::map<uint32_t, HeifItem> items;
    const uint64_t countWidth = VersionOf(reader, iinf) == 0 ? 2 : 4;
    for (const IsoBox& infe : reader.children(iinf, 4 + countWidth)) {
        if (infe.type != FourCC("infe")) continue;
        // Version, flags, item id (16 bits in version 2, 32 in 3), protection index, type.
        std::vector<uint8_t> fields(size_t(std::min<uint64_t>(14, infe.payloadLength())));
        if (fields.empty() ||
            reader.file().readAt(infe.payload, fields.data(), fields.size()) != fields.size() ||
            fields[0] < 2)
            continue;
        BigEndianCursor cursor(fields, 4);
        const uint32_t id = uint32_t(cursor.number(fields[0] == 2 ? 2 : 4));
        cursor.skip(2);  // protection index
        const uint32_t type = uint32_t(cursor.number(4));
        if (cursor.ok()) items[id].type = type;
    }
    return items;
}

// A range checked against the file; a length of 0 means "to the end".
std::optional<ByteRange> Within(uint64_t offset, uint64_t length, uint64_t end) {
    if (offset > end) return std::nullopt;
    if (length == 0) length = end - offset;
    if (length > end - offset) return std::nullopt;
    return ByteRange{offset, length};
}

// Fills the locations of the items asked for from "iloc", each piece (extent) in the file or
// in the "idat" box checked against what holds it.
void ReadItemLocations(const std::vector<uint8_t>& iloc, const std::optional<IsoBox>& idat,
                       uint64_t fileSize, std::map<uint32_t, HeifItem>& items) {
    BigEndianCursor c(iloc);
    const int version = int(c.number(1));
    c.skip(3);
    const int sizes = int(c.number(1));
    const int offsetSize = sizes >> 4, lengthSize = sizes & 15;
    const int bases = int(c.number(1));
    const int baseOffsetSize = bases >> 4;
    const int indexSize = version == 1 || version == 2 ? bases & 15 : 0;
    const uint64_t count = c.number(version < 2 ? 2 : 4);
    for (uint64_t i = 0; i < count && c.ok(); ++i) {
        const uint32_t id = uint32_t(c.number(version < 2 ? 2 : 4));
        const int method = version == 1 || version == 2 ? int(c.number(2) & 15) : 0;
        c.skip(2);  // data reference index
        const uint64_t base = c.number(baseOffsetSize);
        const uint64_t extents = c.number(2);
        // Extents whose fields all have width 0 take no bytes: such a list is not walked.
        const size_t extentWidth = size_t(indexSize + offsetSize + lengthSize);
        if (extents > 0 && (extentWidth == 0 || extents > c.left() / extentWidth)) break;
        const auto item = items.find(id);
        std::vector<ByteRange> pieces;
        bool placed = method == 0 || (method == 1 && idat);
        for (uint64_t e = 0; e < extents; ++e) {
            c.number(indexSize);
            const uint64_t offset = c.number(offsetSize);
            const uint64_t length = c.number(lengthSize);
            if (!placed || item == items.end() || base > UINT64_MAX - offset) {
                placed = false;
                continue;
            }
            const std::optional<ByteRange> piece =
                Within(base + offset, length, method == 0 ? fileSize : idat->payloadLength());
            if (!piece) placed = false;
            else if (method == 0) pieces.push_back(*piece);
            else pieces.push_back({idat->payload + piece->offset, piece->length});
        }
        if (c.ok() && placed && item != items.end()) item->second.pieces = std::move(pieces);
    }
}

// The item a "thmb" reference names as the primary item's thumbnail (or any thumbnail).
std::optional<uint32_t> ThumbnailItemId(IsoBoxReader& reader, const IsoBox& iref,
                                        std::optional<uint32_t> primary) {
    const int idWidth = VersionOf(reader, iref) == 0 ? 2 : 4;
    std::optional<uint32_t> any;
    for (const IsoBox& reference : reader.children(iref, 4)) {
        if (reference.type != FourCC("thmb")) continue;
        const auto bytes = reader.payloadBytes(reference);
        if (!bytes) continue;
        BigEndianCursor c(*bytes);
        const uint32_t from = uint32_t(c.number(idWidth));
        const uint64_t count = c.number(2);
        if (!c.ok()) continue;
        if (!any) any = from;
        for (uint64_t i = 0; i < count && c.ok(); ++i)
            if (primary && c.number(idWidth) == *primary && c.ok()) return from;
    }
    return any;
}

// The TIFF structure of an "Exif" item: a 32-bit offset to the TIFF header comes first.
std::optional<ByteRange> ExifItemTiff(const ByteSource& file, ByteRange item) {
    uint8_t b[4];
    if (item.length < 4 || file.readAt(item.offset, b, 4) != 4) return std::nullopt;
    const uint64_t skip = uint64_t(b[0]) << 24 | uint64_t(b[1]) << 16 | uint64_t(b[2]) << 8 | b[3];
    if (skip > item.length - 4) return std::nullopt;
    return SkipExifIdentifier(file, {item.offset + 4 + skip, item.length - 4 - skip});
}

// The TIFF structure of an "Exif" item, read in place when it lies in one piece, put
// together from its pieces otherwise.
std::optional<ExifStructure> ExifItemStructure(const ByteSource& file, const HeifItem& item) {
    if (const std::optional<ByteRange> whole = item.location()) {
        if (const auto tiff = ExifItemTiff(file, *whole)) return ExifStructure{*tiff, {}};
        return std::nullopt;
    }
    uint64_t total = 0;
    for (const ByteRange& piece : item.pieces) {
        if (piece.length > kMaxJoinedExifItem - total) return std::nullopt;
        total += piece.length;
    }
    std::vector<uint8_t> joined(static_cast<size_t>(total));
    uint64_t at = 0;
    for (const ByteRange& piece : item.pieces) {
        if (file.readAt(piece.offset, joined.data() + at, size_t(piece.length)) != piece.length)
            return std::nullopt;
        at += piece.length;
    }
    const MemoryByteSource bytes(joined);
    const auto tiff = ExifItemTiff(bytes, {0, total});
    if (!tiff) return std::nullopt;
    return ExifStructure{{}, std::vector<uint8_t>(joined.begin() + long(tiff->offset),
                                                   joined.begin() + long(tiff->end()))};
}

void ReadHeifItems(IsoBoxReader& reader, const IsoBox& meta, IsoMediaMetadata& found) {
    const std::vector<IsoBox> boxes = reader.children(meta, 4);
    const auto iinf = FindBox(boxes, FourCC("iinf"));
    const auto iloc = FindBox(boxes, FourCC("iloc"));
    if (!iinf || !iloc) return;
    std::map<uint32_t, HeifItem> items = ReadItemInfos(reader, *iinf);
    const auto ilocBytes = reader.payloadBytes(*iloc);
    if (items.empty() || !ilocBytes) return;
    ReadItemLocations(*ilocBytes, FindBox(boxes, FourCC("idat")), reader.file().size(), items);

    for (const auto& [id, item] : items) {
        if (item.type != FourCC("Exif")) continue;
        if (std::optional<ExifStructure> tiff = ExifItemStructure(reader.file(), item)) {
            found.exif.push_back(std::move(*tiff));
            break;
        }
    }
    std::optional<uint32_t> primary;
    if (const auto pitm = FindBox(boxes, FourCC("pitm"))) {
        if (const auto bytes = reader.payloadBytes(*pitm)) {
            BigEndianCursor c(*bytes, 4);
            const uint32_t id = uint32_t(c.number((*bytes)[0] == 0 ? 2 : 4));
            if (c.ok()) primary = id;
        }
    }
    const auto iref = FindBox(boxes, FourCC("iref"));
    const auto thumbnail = iref ? ThumbnailItemId(reader, *iref, primary) : std::nullopt;
    if (!thumbnail) return;
    const auto item = items.find(*thumbnail);
    if (item == items.end() || !item->second.location()) return;
    found.thumbnailItem = item->second.location();
    found.thumbnailItemType = item->second.type;
}

// The JPEG that starts near the beginning of a box's payload and runs to its end.
std::optional<ByteRange> JpegInBox(const ByteSource& file, const IsoBox& box) {
    uint8_t head[kJpegSearchWindow];
    const size_t got =
        file.readAt(box.payload, head, size_t(std::min(kJpegSearchWindow, box.payloadLength())));
    for (size_t i = 0; i + 3 <= got; ++i) {
        if (head[i] == 0xFF && head[i + 1] == 0xD8 && head[i + 2] == 0xFF)
            return ByteRange{box.payload + i, box.payloadLength() - i};
    }
    return std::nullopt;
}

void ReadCanonBoxes(IsoBoxReader& reader, const IsoBox& canon, IsoMediaMetadata& found) {
    const std::vector<IsoBox> boxes = reader.children(canon);
    for (const uint32_t type : {FourCC("CMT1"), FourCC("CMT2")}) {
        if (const auto box = FindBox(boxes, type))
            found.exif.push_back({{box->payload, box->payloadLength()}, {}});
    }
    if (const auto thumbnail = FindBox(boxes, FourCC("THMB")))
        found.thumbnailJpeg = JpegInBox(reader.file(), *thumbnail);
}

}  // namespace

IsoMediaMetadata ReadIsoMediaMetadata(const ByteSource& file) {
    IsoMediaMetadata found;
    IsoBoxReader reader(file);
    for (const IsoBox& box : reader.topLevel()) {
        if (box.type == FourCC("meta") && found.exif.empty()) {
            ReadHeifItems(reader, box, found);
        } else if (box.type == FourCC("moov")) {
            for (const IsoBox& inner : reader.children(box))
                if (inner.type == FourCC("uuid") && inner.uuid == kCanonMetadataUuid)
                    ReadCanonBoxes(reader, inner, found);
        } else if (box.type == FourCC("uuid") && box.uuid == kCanonPreviewUuid) {
            // Eight bytes of Canon's own come before the PRVW box.
            if (const auto preview = FindBox(reader.children(box, 8), FourCC("PRVW")))
                found.previewJpeg = JpegInBox(file, *preview);
        }
    }
    return found;
}

}  // namespace corvelle
