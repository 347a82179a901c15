#include "core/tiff_directory.h"

#include <algorithm>
#include <map>
#include <set>

namespace corvelle {

namespace {

constexpr size_t kEntrySize = 12;
// Directory chains are counted, not decoded; this bounds a chain that never ends.
constexpr int kMaxCountedPages = 10000;

enum TiffType : uint16_t {
    kByte = 1,
    kShort = 3,
    kLong = 4,
    kRational = 5,
};

// One directory entry with its values read as unsigned integers. Rationals give numerator and
// denominator as two values each. Values that lie outside the source are left out.
struct EntryValues {
    uint16_t tag = 0;
    std::vector<uint32_t> values;
};

size_t TypeSize(uint16_t type) {
    switch (type) {
        case kByte:
            return 1;
        case kShort:
            return 2;
        case kLong:
            return 4;
        case kRational:
            return 8;
        default:
            return 0;
    }
}

uint32_t Decode(const uint8_t* at, size_t size, ByteOrder order) {
    uint32_t v = 0;
    for (size_t i = 0; i < size; ++i) {
        const size_t index = order == ByteOrder::kLittleEndian ? size - 1 - i : i;
        v = v << 8 | at[index];
    }
    return v;
}

std::optional<EntryValues> ReadEntry(ByteSource& source, const uint8_t* entry, ByteOrder order) {
    EntryValues result;
    result.tag = static_cast<uint16_t>(Decode(entry, 2, order));
    const uint16_t type = static_cast<uint16_t>(Decode(entry + 2, 2, order));
    const uint32_t count = Decode(entry + 4, 4, order);
    const size_t itemSize = TypeSize(type);
    if (itemSize == 0 || count == 0) return std::nullopt;

    const uint64_t wanted = uint64_t(count) * itemSize;
    std::vector<uint8_t> raw;
    if (wanted <= 4) {
        raw.assign(entry + 8, entry + 8 + wanted);
    } else {
        const uint32_t offset = Decode(entry + 8, 4, order);
        if (offset >= source.size()) return std::nullopt;
        // Only whole values that lie inside the source are kept.
        const uint64_t available = std::min<uint64_t>(wanted, source.size() - offset);
        raw.resize(static_cast<size_t>(available / itemSize * itemSize));
        raw.resize(source.readAt(offset, raw.data(), raw.size()));
    }
    const size_t partSize = type == kRational ? 4 : itemSize;
    result.values.reserve(raw.size() / partSize);
    for (size_t at = 0; at + partSize <= raw.size(); at += partSize) {
        result.values.push_back(Decode(raw.data() + at, partSize, order));
    }
    if (result.values.empty()) return std::nullopt;
    return result;
}

bool OneOf(uint32_t value, std::initializer_list<uint32_t> accepted) {
    return std::find(accepted.begin(), accepted.end(), value) != accepted.end();
}

bool AllEqual(const std::vector<uint32_t>& values) {
    return std::all_of(values.begin(), values.end(), [&](uint32_t v) { return v == values[0]; });
}

std::vector<uint16_t> Narrow(const std::vector<uint32_t>& values) {
    return std::vector<uint16_t>(values.begin(), values.end());
}

// What each tag the decoder uses does to the description; false refuses the file.
struct TagRule {
    uint16_t tag;
    bool (*apply)(const std::vector<uint32_t>& v, TiffImageDescription& d);
};

const TagRule kTagRules[] = {
    {254, [](auto& v, auto& d) { return d.subfileType = v[0], true; }},
    {255, [](auto& v, auto& d) { return d.subfileType = v[0], true; }},
    {256, [](auto& v, auto& d) { return d.width = v[0], true; }},
    {257, [](auto& v, auto& d) { return d.height = v[0], true; }},
    {258, [](auto& v, auto& d) { return d.bitsPerSample = v[0], AllEqual(v); }},
    {259,
     [](auto& v, auto& d) {
         return d.compression = v[0], OneOf(v[0], {1, 2, 3, 4, 5, 32773});
     }},
    {262,
     [](auto& v, auto& d) {
         return d.photometric = v[0], OneOf(v[0], {0, 1, 2, 3, 5});
     }},
    {263, [](auto& v, auto& d) { return d.threshholding = v[0], true; }},
    {266, [](auto& v, auto& d) { return d.fillOrder = v[0], true; }},
    {273, [](auto& v, auto& d) { return d.stripOffsets = v, true; }},
    {277, [](auto& v, auto& d) { return d.samplesPerPixel = v[0], true; }},
    {278, [](auto& v, auto& d) { return d.rowsPerStrip = v[0], v[0] != 0; }},
    {279, [](auto& v, auto& d) { return d.stripByteCounts = v, true; }},
    {280, [](auto& v, auto& d) { return d.minSampleValue = v[0], true; }},
    {281, [](auto& v, auto& d) { return d.maxSampleValue = v[0], true; }},
    {282,
     [](auto& v, auto& d) {
         d.xResolutionNumerator = v[0];
         d.xResolutionDenominator = v.size() > 1 ? v[1] : 1;
         return true;
     }},
    {283,
     [](auto& v, auto& d) {
         d.yResolutionNumerator = v[0];
         d.yResolutionDenominator = v.size() > 1 ? v[1] : 1;
         return true;
     }},
    {284, [](auto& v, auto& d) { return d.planarConfiguration = v[0], true; }},
    {292, [](auto& v, auto& d) { return d.t4Options = v[0], true; }},
    {293, [](auto& v, auto& d) { return d.t6Options = v[0], true; }},
    {296, [](auto& v, auto& d) { return d.resolutionUnit = v[0], true; }},
    {317,
     [](auto& v, auto& d) {
         return d.predictor = v[0], OneOf(v[0], {1, 2});
     }},
    {320, [](auto& v, auto& d) { return d.colorMap = Narrow(v), true; }},
    {322, [](auto& v, auto& d) { return d.tileWidth = v[0], true; }},
    {323, [](auto& v, auto& d) { return d.tileLength = v[0], true; }},
    {324, [](auto& v, auto& d) { return d.tileOffsets = v, true; }},
    {325, [](auto& v, auto& d) { return d.tileByteCounts = v, true; }},
};

const TagRule* FindRule(uint16_t tag) {
    for (const TagRule& rule : kTagRules) {
        if (rule.tag == tag) return &rule;
    }
    return nullptr;
}

// Rules that need several tags, checked once the whole directory is read.
bool Consistent(const TiffImageDescription& d) {
    if (d.width == 0 || d.height == 0 || d.width > INT32_MAX || d.height > INT32_MAX) return false;
    if (d.samplesPerPixel == 0) return false;
    if (d.samplesPerPixel >= 2 && d.planarConfiguration != 1) return false;
    // Two-dimensional coding is only accepted as T.6.
    if ((d.compression == 2 || d.compression == 3) && (d.t4Options & 1) != 0) return false;
    if (d.tiled() && (d.tileWidth == 0 || d.tileLength == 0)) return false;
    return true;
}

int CountPages(ByteSource& source, ByteOrder order, uint32_t first) {
    std::set<uint32_t> seen;
    uint32_t offset = first;
    while (offset != 0 && seen.size() < kMaxCountedPages && seen.insert(offset).second) {
        if (!source.seek(offset)) break;
        const auto count = source.readUint16(order);
        if (!count || !source.seek(uint64_t(offset) + 2 + uint64_t(*count) * kEntrySize)) break;
        const auto next = source.readUint32(order);
        if (!next) break;
        offset = *next;
    }
    return static_cast<int>(seen.size());
}

}  // namespace

std::optional<TiffImageDescription> ReadTiffDescription(ByteSource& source) {
    TiffImageDescription d;
    uint8_t mark[2];
    if (!source.seek(0) || source.read(mark, 2) != 2) return std::nullopt;
    if (mark[0] == 'I' && mark[1] == 'I') {
        d.byteOrder = ByteOrder::kLittleEndian;
    } else if (mark[0] == 'M' && mark[1] == 'M') {
        d.byteOrder = ByteOrder::kBigEndian;
    } else {
        return std::nullopt;
    }
    const auto version = source.readUint16(d.byteOrder);
    const auto first = source.readUint32(d.byteOrder);
    if (!version || !first || !source.seek(*first)) return std::nullopt;
    const auto count = source.readUint16(d.byteOrder);
    if (!count) return std::nullopt;

    // A directory that runs past the end of the file ends there (and is never given room
    // for more entries than the file holds).
    const uint64_t left = source.size() - source.position();
    std::vector<uint8_t> entries(static_cast<size_t>(std::min<uint64_t>(size_t(*count) * kEntrySize, left)));
    entries.resize(source.read(entries.data(), entries.size()) / kEntrySize * kEntrySize);
    // Only the last entry of a repeated tag is read, so a directory of thousands of copies of
    // one large array costs one read.
    std::map<uint16_t, size_t> lastEntryOfTag;
    for (size_t at = 0; at < entries.size(); at += kEntrySize) {
        const auto tag = static_cast<uint16_t>(Decode(entries.data() + at, 2, d.byteOrder));
        if (FindRule(tag)) lastEntryOfTag[tag] = at;
    }
    for (const auto& [tag, at] : lastEntryOfTag) {
        const auto entry = ReadEntry(source, entries.data() + at, d.byteOrder);
        if (entry && !FindRule(tag)->apply(entry->values, d)) return std::nullopt;
    }
    if (!Consistent(d)) return std::nullopt;
    d.pageCount = CountPages(source, d.byteOrder, *first);
    return d;
}

}  // namespace corvelle
