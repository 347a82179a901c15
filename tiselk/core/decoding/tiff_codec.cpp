#include "core/decoding/tiff_codec.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>

namespace corvelle {

namespace {

struct CodecEntry {
    uint16_t tag;
    uint16_t type;  // TIFF_SHORT or TIFF_LONG
    std::vector<uint32_t> values;
};

class DirectoryWriter {
  public:
    explicit DirectoryWriter(ByteOrder order) : m_order(order) {}

    std::vector<uint8_t> write(std::vector<CodecEntry> entries) {
        std::sort(entries.begin(), entries.end(),
                  [](const CodecEntry& a, const CodecEntry& b) { return a.tag < b.tag; });
        m_bytes.clear();
        m_bytes.push_back(m_order == ByteOrder::kLittleEndian ? 'I' : 'M');
        m_bytes.push_back(m_bytes[0]);
        put(42, 2);
        put(8, 4);
        put(static_cast<uint32_t>(entries.size()), 2);
        size_t data = 8 + 2 + 12 * entries.size() + 4;
        const size_t table = m_bytes.size();
        m_bytes.resize(data, 0);
        for (size_t i = 0; i < entries.size(); ++i) {
            const CodecEntry& e = entries[i];
            const size_t itemSize = e.type == TIFF_SHORT ? 2 : 4;
            const size_t at = table + 12 * i;
            putAt(at, e.tag, 2);
            putAt(at + 2, e.type, 2);
            putAt(at + 4, static_cast<uint32_t>(e.values.size()), 4);
            size_t valueAt = at + 8;
            if (e.values.size() * itemSize > 4) {
                putAt(at + 8, static_cast<uint32_t>(data), 4);
                valueAt = data;
                data += (e.values.size() * itemSize + 3) / 4 * 4;
                m_bytes.resize(data, 0);
            }
            for (uint32_t v : e.values) {
                putAt(valueAt, v, itemSize);
                valueAt += itemSize;
            }
        }
        return m_bytes;
    }

  private:
    void put(uint32_t v, size_t size) {
        m_bytes.resize(m_bytes.size() + size);
        putAt(m_bytes.size() - size, v, size);
    }
    void putAt(size_t at, uint32_t v, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            const size_t shift = 8 * (m_order == ByteOrder::kLittleEndian ? i : size - 1 - i);
            m_bytes[at + i] = static_cast<uint8_t>(v >> shift);
        }
    }

    ByteOrder m_order;
    std::vector<uint8_t> m_bytes;
};

bool IsCcitt(uint32_t compression) { return compression >= 2 && compression <= 4; }

// The photometric value only decides how libtiff checks the directory; the colours are ours.
uint32_t CodecPhotometric(const TiffImageDescription& d) {
    if (d.photometric == 0) return PHOTOMETRIC_MINISWHITE;
    if (d.samplesPerPixel < 3) return PHOTOMETRIC_MINISBLACK;
    return d.photometric == 5 ? PHOTOMETRIC_SEPARATED : PHOTOMETRIC_RGB;
}

int QuietHandler(TIFF*, void*, const char*, const char*, va_list) { return 1; }

}  // namespace

std::vector<uint8_t> BuildCodecDirectory(const TiffImageDescription& d, uint32_t height,
                                         const std::vector<uint32_t>& rawLengths) {
    std::vector<uint32_t> lengths = rawLengths;
    for (uint32_t& length : lengths) length = std::max<uint32_t>(length, 1);
    const std::vector<uint32_t> offsets(lengths.size(), 8);

    std::vector<CodecEntry> entries = {
        {TIFFTAG_IMAGEWIDTH, TIFF_LONG, {d.width}},
        {TIFFTAG_IMAGELENGTH, TIFF_LONG, {height}},
        {TIFFTAG_BITSPERSAMPLE, TIFF_SHORT,
         std::vector<uint32_t>(d.samplesPerPixel, d.bitsPerSample)},
        {TIFFTAG_COMPRESSION, TIFF_SHORT, {d.compression}},
        {TIFFTAG_PHOTOMETRIC, TIFF_SHORT, {CodecPhotometric(d)}},
        // Bit order is a property of the CCITT codings; other data is taken as it stands.
        {TIFFTAG_FILLORDER, TIFF_SHORT, {IsCcitt(d.compression) && d.fillOrder == 2 ? 2u : 1u}},
        {TIFFTAG_SAMPLESPERPIXEL, TIFF_SHORT, {d.samplesPerPixel}},
        {TIFFTAG_PLANARCONFIG, TIFF_SHORT, {PLANARCONFIG_CONTIG}},
    };
    if (d.tiled()) {
        entries.push_back({TIFFTAG_TILEWIDTH, TIFF_LONG, {d.tileWidth}});
        entries.push_back({TIFFTAG_TILELENGTH, TIFF_LONG, {d.tileLength}});
        entries.push_back({TIFFTAG_TILEOFFSETS, TIFF_LONG, offsets});
        entries.push_back({TIFFTAG_TILEBYTECOUNTS, TIFF_LONG, lengths});
    } else {
        entries.push_back({TIFFTAG_ROWSPERSTRIP, TIFF_LONG, {d.stripRows()}});
        entries.push_back({TIFFTAG_STRIPOFFSETS, TIFF_LONG, offsets});
        entries.push_back({TIFFTAG_STRIPBYTECOUNTS, TIFF_LONG, lengths});
    }
    if (d.compression == COMPRESSION_CCITTFAX3) {
        entries.push_back({TIFFTAG_GROUP3OPTIONS, TIFF_LONG, {d.t4Options}});
    }
    if (d.compression == COMPRESSION_CCITTFAX4) {
        entries.push_back({TIFFTAG_GROUP4OPTIONS, TIFF_LONG, {d.t6Options}});
    }
    if (d.compression == COMPRESSION_LZW && d.predictor == PREDICTOR_HORIZONTAL) {
        entries.push_back({TIFFTAG_PREDICTOR, TIFF_SHORT, {PREDICTOR_HORIZONTAL}});
    }
    return DirectoryWriter(d.byteOrder).write(std::move(entries));
}

// libtiff reads our directory through these, as from a file.
struct TiffCodecIo {
    static TiffCodec& codec(thandle_t handle) { return *static_cast<TiffCodec*>(handle); }

    static tmsize_t read(thandle_t handle, void* out, tmsize_t size) {
        TiffCodec& c = codec(handle);
        if (size <= 0 || c.m_position >= c.m_directory.size()) return 0;
        const size_t n = std::min<uint64_t>(uint64_t(size), c.m_directory.size() - c.m_position);
        std::memcpy(out, c.m_directory.data() + c.m_position, n);
        c.m_position += n;
        return static_cast<tmsize_t>(n);
    }
    static tmsize_t write(thandle_t, void*, tmsize_t) { return -1; }
    static toff_t seek(thandle_t handle, toff_t offset, int whence) {
        TiffCodec& c = codec(handle);
        const uint64_t base = whence == SEEK_CUR   ? c.m_position
                              : whence == SEEK_END ? c.m_directory.size()
                                                   : 0;
        c.m_position = base + offset;
        return c.m_position;
    }
    static int close(thandle_t) { return 0; }
    static toff_t size(thandle_t handle) { return codec(handle).m_directory.size(); }
    static int map(thandle_t, void**, toff_t*) { return 0; }
    static void unmap(thandle_t, void*, toff_t) {}
};

std::unique_ptr<TiffCodec> TiffCodec::open(const TiffImageDescription& description, uint32_t height,
                                           const std::vector<uint32_t>& rawLengths,
                                           uint64_t maxWorkingBytes) {
    std::unique_ptr<TiffCodec> codec(new TiffCodec);
    codec->m_directory = BuildCodecDirectory(description, height, rawLengths);

    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    if (!options) return nullptr;
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(maxWorkingBytes));
    TIFFOpenOptionsSetErrorHandlerExtR(options, QuietHandler, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options, QuietHandler, nullptr);
    // "c": strips stay as we describe them (no chopping into smaller ones); "m": no mapping.
    codec->m_tiff = TIFFClientOpenExt(
        "picture", "rcm", codec.get(), TiffCodecIo::read, TiffCodecIo::write, TiffCodecIo::seek,
        TiffCodecIo::close, TiffCodecIo::size, TiffCodecIo::map, TiffCodecIo::unmap, options);
    TIFFOpenOptionsFree(options);
    if (!codec->m_tiff) return nullptr;
    const uint32_t pieces =
        description.tiled() ? TIFFNumberOfTiles(codec->m_tiff) : TIFFNumberOfStrips(codec->m_tiff);
    if (bool(TIFFIsTiled(codec->m_tiff)) != description.tiled() || pieces != rawLengths.size()) {
        return nullptr;
    }
    return codec;
}

TiffCodec::~TiffCodec() {
    if (m_tiff) TIFFClose(m_tiff);
}

bool TiffCodec::decode(uint32_t index, std::vector<uint8_t>& raw, uint8_t* out, uint64_t outBytes) {
    if (raw.empty()) return false;
    return TIFFReadFromUserBuffer(m_tiff, index, raw.data(), static_cast<tmsize_t>(raw.size()), out,
                                  static_cast<tmsize_t>(outBytes)) == 1;
}

}  // namespace corvelle
