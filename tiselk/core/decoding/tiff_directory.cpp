#include "core/decoding/tiff_directory.h"

#include <algorithm>
#include <map>

#include "core/tiff_entries.h"

namespace corvelle {

namespace {

// Directory chains are counted, not decoded; this bounds a chain that never ends.
constexpr size_t kMaxCountedPages = 10000;

enum TiffType : uint16_t {
    kByte = 1,
    kShort = 3,
    kLong = 4,
    kRational = 5,
};

// The types whose values the decoder reads; entries of any other type are left out.
bool DecodedType(uint16_t type) {
    return type == kByte || type == kShort || type == kLong || type == kRational;
}

// One directory entry with its values read as unsigned integers. Rationals give numerator and
// denominator as two values each. Values that lie outside the source are left out.
struct EntryValues {
    uint16_t tag = 0;
    std::vector<uint32_t> values;
};

uint32_t Decode(const TiffBytes& tiff, const uint8_t* at, size_t size) {
    switch (size) {
        case 1:
            return *at;
        case 2:
            return tiff.get16(at);
        default:
            return tiff.get32(at);
    }
}

std::optional<EntryValues> ReadEntry(const TiffBytes& tiff, const TiffEntry& entry) {
    if (!DecodedType(entry.type) || entry.count == 0) return std::nullopt;
    const size_t itemSize = size_t(TiffTypeSize(entry.type));
    const int64_t wanted = TiffDataLength(entry);
    const int64_t position = TiffDataPosition(tiff, entry, 0);
    if (!tiff.contains(position, 1)) return std::nullopt;
    // Only whole values that lie inside the source are kept.
    const int64_t available = std::min(wanted, tiff.size() - position);
    std::vector<uint8_t> raw(size_t(available) / itemSize * itemSize);
    if (!tiff.read(position, raw)) return std::nullopt;
    EntryValues result;
    result.tag = entry.tag;
    const size_t partSize = entry.type == kRational ? 4 : itemSize;
    result.values.reserve(raw.size() / partSize);
    for (size_t at = 0; at + partSize <= raw.size(); at += partSize) {
        result.values.push_back(Decode(tiff, raw.data() + at, partSize));
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

// Every directory of the chain is counted, one whose entries cannot be read included.
int CountPages(const TiffBytes& tiff, uint32_t first) {
    TiffDirectoryTrail trail(kMaxCountedPages);
    int64_t offset = first;
    while (offset != 0 && trail.enter(offset)) {
        const auto count = tiff.read16(offset);
        if (!count) break;
        const auto next = tiff.read32(offset + 2 + int64_t{*count} * kTiffEntrySize);
        if (!next) break;
        offset = *next;
    }
    return static_cast<int>(trail.size());
}

}  // namespace

std::optional<TiffImageDescription> ReadTiffDescription(ByteSource& source) {
    TiffImageDescription d;
    TiffBytes tiff(source);
    if (!tiff.readByteOrderMark()) return std::nullopt;
    d.byteOrder = tiff.bigEndian() ? ByteOrder::kBigEndian : ByteOrder::kLittleEndian;
    const auto version = tiff.read16(2);
    const auto first = tiff.read32(4);
    if (!version || !first) return std::nullopt;

    // A directory that runs past the end of the file ends there. Only the last entry of a
    // repeated tag is read, so a directory of thousands of copies of one large array costs
    // one read.
    std::map<uint16_t, TiffEntry> lastEntryOfTag;
    const auto link = WalkTiffDirectory(tiff, *first, [&](const TiffEntry& entry) {
        if (FindRule(entry.tag)) lastEntryOfTag[entry.tag] = entry;
        return true;
    });
    if (!link) return std::nullopt;
    for (const auto& [tag, stored] : lastEntryOfTag) {
        const auto entry = ReadEntry(tiff, stored);
        if (entry && !FindRule(tag)->apply(entry->values, d)) return std::nullopt;
    }
    if (!Consistent(d)) return std::nullopt;
    d.pageCount = CountPages(tiff, *first);
    return d;
}

}  // namespace corvelle
