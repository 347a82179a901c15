#include "support/iso_media_builder.h"

#include <zlib.h>

#include <cstdio>

namespace corvelle::testing {

void AppendBig(Bytes& out, uint64_t value, int width) {
    for (int i = width - 1; i >= 0; --i) out.push_back(uint8_t(value >> (8 * i)));
}

Bytes Join(const std::vector<Bytes>& parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes Box(const std::string& type, const Bytes& payload) {
    Bytes out;
    AppendBig(out, payload.size() + 8, 4);
    out.insert(out.end(), type.begin(), type.begin() + 4);
    out.insert(out.end(), payload.begin(), payload.end());
    return out;
}

Bytes FullBox(const std::string& type, uint8_t version, const Bytes& payload) {
    return Box(type, Join({{version, 0, 0, 0}, payload}));
}

Bytes UuidBox(const std::array<uint8_t, 16>& uuid, const Bytes& payload) {
    return Box("uuid", Join({Bytes(uuid.begin(), uuid.end()), payload}));
}

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes ItemInfo(uint16_t id, const std::string& type) {
    Bytes fields;
    AppendBig(fields, id, 2);
    AppendBig(fields, 0, 2);
    fields.insert(fields.end(), type.begin(), type.begin() + 4);
    fields.push_back(0);  // empty item name
    return FullBox("infe", 2, fields);
}

struct ItemPlace {
    uint16_t id;
    int method;
    std::vector<std::pair<uint32_t, uint32_t>> extents;  // offset, length
};

Bytes ItemLocations(uint8_t version, const std::vector<ItemPlace>& places) {
    Bytes out = {0x44, 0x00};  // 4-byte offsets and lengths, no base offset
    AppendBig(out, places.size(), 2);
    for (const ItemPlace& place : places) {
        AppendBig(out, place.id, 2);
        if (version >= 1) AppendBig(out, uint16_t(place.method), 2);
        AppendBig(out, 0, 2);  // data reference
        AppendBig(out, place.extents.size(), 2);
        for (const auto& [offset, length] : place.extents) {
            AppendBig(out, offset, 4);
            AppendBig(out, length, 4);
        }
    }
    return FullBox("iloc", version, out);
}

}  // namespace

Bytes BuildHeif(const HeifParts& parts) {
    const Bytes ftyp =
        Box("ftyp", Join({Text(parts.brand), {0, 0, 0, 0}, Text("mif1"), Text(parts.brand)}));
    Bytes exifItem;
    if (!parts.exifTiff.empty()) {
        AppendBig(exifItem, parts.exifPrefix.size(), 4);
        exifItem = Join({exifItem, parts.exifPrefix, parts.exifTiff});
    }
    // Offsets depend on the size of "meta", which does not depend on them: lay out twice.
    Bytes file;
    for (uint32_t mdatData = 0, pass = 0; pass < 2; ++pass) {
        std::vector<Bytes> infos = {ItemInfo(1, "hvc1")};
        std::vector<ItemPlace> places = {{1, 0, {{mdatData, 4}}}};
        uint32_t next = mdatData + 4;
        if (!exifItem.empty()) {
            infos.push_back(ItemInfo(2, "Exif"));
            // Pieces of (nearly) equal size, their extents listed in item order while the
            // pieces lie in the file last first.
            const uint32_t size = uint32_t(exifItem.size());
            const uint32_t pieces = uint32_t(std::max(parts.exifPieces, 1));
            const uint32_t base = parts.exifInIdat ? 0 : next;
            std::vector<std::pair<uint32_t, uint32_t>> extents;
            for (uint32_t i = 0; i < pieces; ++i)
                extents.push_back({0, size * (i + 1) / pieces - size * i / pieces});
            uint32_t at = base;
            for (size_t i = extents.size(); i-- > 0;) {
                extents[i].first = at;
                at += extents[i].second;
            }
            places.push_back({2, parts.exifInIdat ? 1 : 0, extents});
            if (!parts.exifInIdat) next = at;
        }
        Bytes references;
        if (!parts.thumbnail.empty()) {
            infos.push_back(ItemInfo(3, parts.thumbnailType));
            places.push_back({3, 0, {{next, uint32_t(parts.thumbnail.size())}}});
            Bytes thmb;
            AppendBig(thmb, 3, 2);
            AppendBig(thmb, 1, 2);
            AppendBig(thmb, 1, 2);
            references = FullBox("iref", 0, Box("thmb", thmb));
        }
        Bytes infoList;
        AppendBig(infoList, infos.size(), 2);
        infoList = FullBox("iinf", 0, Join({infoList, Join(infos)}));
        Bytes metaParts =
            Join({FullBox("hdlr", 0, Join({{0, 0, 0, 0}, Text("pict"), Bytes(13, 0)})),
                  FullBox("pitm", 0, {0, 1}), infoList, ItemLocations(parts.ilocVersion, places),
                  references});
        // The Exif item's pieces, last first.
        Bytes laidOut;
        const uint32_t pieces = uint32_t(std::max(parts.exifPieces, 1));
        for (uint32_t i = pieces; i-- > 0;) {
            const size_t start = exifItem.size() * i / pieces, end = exifItem.size() * (i + 1) / pieces;
            laidOut.insert(laidOut.end(), exifItem.begin() + long(start), exifItem.begin() + long(end));
        }
        if (parts.exifInIdat) metaParts = Join({metaParts, Box("idat", laidOut)});
        const Bytes meta = FullBox("meta", 0, metaParts);
        Bytes data = {0, 0, 0, 0};  // the primary picture's stand-in
        if (!parts.exifInIdat) data = Join({data, laidOut});
        data = Join({data, parts.thumbnail});
        mdatData = uint32_t(ftyp.size() + meta.size() + 8);
        file = Join({ftyp, meta, Box("mdat", data)});
    }
    return file;
}

Bytes BuildCr3(const Cr3Parts& parts) {
    static constexpr std::array<uint8_t, 16> kMetadata = {0x85, 0xc0, 0xb6, 0x87, 0x82, 0x0f,
                                                          0x11, 0xe0, 0x81, 0x11, 0xf4, 0xce,
                                                          0x46, 0x2b, 0x6a, 0x48};
    static constexpr std::array<uint8_t, 16> kPreview = {0xea, 0xf4, 0x2b, 0x5e, 0x1c, 0x98,
                                                         0x4b, 0x88, 0xb9, 0xfb, 0xb7, 0xdc,
                                                         0x40, 0x6e, 0x4d, 0x16};
    // THMB and PRVW put a few fields (version, sizes) before the JPEG.
    const Bytes thumbnailFields = {0, 0, 0, 0, 0, 160, 0, 120, 0, 0, 0, 0, 0, 0, 0, 0};
    const Bytes canon = UuidBox(
        kMetadata,
        Join({Box("CNCV", Text("CanonCR3_001/00.09.00/00.00.00")), Box("CMT1", parts.cmt1),
              Box("CMT2", parts.cmt2), Box("THMB", Join({thumbnailFields, parts.thumbnailJpeg}))}));
    const Bytes moov = Box("moov", Join({canon, FullBox("mvhd", 0, Bytes(96, 0))}));
    const Bytes preview = UuidBox(
        kPreview, Join({Bytes(8, 0), Box("PRVW", Join({thumbnailFields, parts.previewJpeg}))}));
    return Join({Box("ftyp", Join({Text("crx "), {0, 0, 0, 1}, Text("crx isom")})), moov, preview,
                 Box("mdat", Bytes(16, 0))});
}

Bytes BuildMovie(const MovieParts& parts) {
    std::vector<Bytes> moov;
    if (parts.movieHeaderSeconds) {
        Bytes header;
        const int width = parts.movieHeaderVersion1 ? 8 : 4;
        AppendBig(header, *parts.movieHeaderSeconds, width);  // creation
        AppendBig(header, *parts.movieHeaderSeconds, width);  // modification
        header = Join({header, Bytes(80, 0)});
        moov.push_back(FullBox("mvhd", parts.movieHeaderVersion1 ? 1 : 0, header));
    }
    if (!parts.creationDate.empty()) {
        const std::string otherKey = "com.apple.quicktime.make";
        const std::string dateKey = "com.apple.quicktime.creationdate";
        Bytes keys;
        AppendBig(keys, 2, 4);
        for (const std::string& key : {otherKey, dateKey}) {
            AppendBig(keys, key.size() + 8, 4);
            keys = Join({keys, Text("mdta"), Text(key)});
        }
        auto item = [](uint32_t index, const std::string& value) {
            Bytes type;
            AppendBig(type, index, 4);
            return Box(std::string(type.begin(), type.end()),
                       Box("data", Join({{0, 0, 0, 1, 0, 0, 0, 0}, Text(value)})));
        };
        moov.push_back(Box(
            "meta", Join({FullBox("hdlr", 0, Join({{0, 0, 0, 0}, Text("mdta"), Bytes(13, 0)})),
                          FullBox("keys", 0, keys),
                          Box("ilst", Join({item(1, "Apple"), item(2, parts.creationDate)}))})));
    }
    return Join({Box("ftyp", Join({Text(parts.brand), {0, 0, 2, 0}, Text(parts.brand)})),
                 Box("mdat", Bytes(32, 0)), Box("moov", Join(moov))});
}

Bytes BuildPngChunks(const std::vector<std::pair<std::string, Bytes>>& chunks) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    for (const auto& [type, data] : chunks) {
        AppendBig(out, data.size(), 4);
        out = Join({out, Text(type), data, {0, 0, 0, 0}});
    }
    return out;
}

std::string RawProfileText(const std::string& name, const Bytes& bytes) {
    char length[16];
    std::snprintf(length, sizeof length, "%8zu", bytes.size());
    std::string text = "\n" + name + "\n" + length;
    static constexpr char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 36 == 0) text += '\n';
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text + "\n";
}

Bytes Deflated(const Bytes& bytes) {
    uLongf size = compressBound(uLong(bytes.size()));
    Bytes out(size);
    if (compress(out.data(), &size, bytes.data(), uLong(bytes.size())) != Z_OK) return {};
    out.resize(size);
    return out;
}

Bytes PngTextChunk(const std::string& type, const std::string& keyword, const std::string& text,
                   bool compressed) {
    Bytes out = Join({Text(keyword), {0}});
    if (type == "zTXt") out.push_back(0);
    if (type == "iTXt") out = Join({out, {uint8_t(compressed ? 1 : 0), 0}, Text("en"), {0}, {0}});
    const Bytes body(text.begin(), text.end());
    return Join({out, type == "zTXt" || compressed ? Deflated(body) : body});
}

Bytes BuildWebpChunks(const std::vector<std::pair<std::string, Bytes>>& chunks,
                      std::optional<uint32_t> riffSize) {
    Bytes body = Text("WEBP");
    for (const auto& [type, data] : chunks) {
        const uint32_t size = uint32_t(data.size());
        body = Join({body,
                     Text(type),
                     {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)},
                     data});
        if (size & 1) body.push_back(0);
    }
    const uint32_t size = riffSize.value_or(uint32_t(body.size()));
    return Join({Text("RIFF"),
                 {uint8_t(size), uint8_t(size >> 8), uint8_t(size >> 16), uint8_t(size >> 24)},
                 body});
}

}  // namespace corvelle::testing
