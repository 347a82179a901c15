#include "support/exif_builder.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace corvelle::testing {

int TiffTypeSize(uint16_t type) {
    switch (type) {
        case kShort:
        case kSShort:
            return 2;
        case kLong:
        case kSLong:
        case 11:  // FLOAT
            return 4;
        case kRational:
        case kSRational:
        case 12:  // DOUBLE
            return 8;
        default:
            return 1;
    }
}

namespace {

TiffEntry numberEntry(uint16_t tag, uint16_t type, std::vector<uint64_t> numbers, uint32_t count) {
    TiffEntry e;
    e.tag = tag;
    e.type = type;
    e.count = count;
    e.numbers = std::move(numbers);
    return e;
}

class Writer {
  public:
    Writer(ByteOrder order, uint32_t start) : m_order(order), m_start(start) {}

    std::vector<uint8_t>& out() { return m_out; }

    void put(size_t at, uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = m_order == ByteOrder::Little ? 8 * i : 8 * (size - 1 - i);
            m_out[at + i] = uint8_t(value >> shift);
        }
    }
    size_t append(size_t count) {
        if (m_out.size() % 2 != 0) m_out.push_back(0);  // data begins on a word boundary
        const size_t at = m_out.size();
        m_out.resize(at + count, 0);
        return at;
    }
    uint32_t offsetOf(size_t at) const { return static_cast<uint32_t>(m_start + at); }

    // Lays the directory out at the end of the buffer; returns where it starts.
    size_t directory(const TiffDirectory& dir) {
        const auto& entries = dir.entries();
        const size_t at = append(2 + 12 * entries.size() + 4);
        put(at, entries.size(), 2);
        std::vector<std::pair<size_t, const TiffDirectory*>> pending;
        for (size_t i = 0; i < entries.size(); ++i) {
            const TiffEntry& e = entries[i];
            const size_t field = at + 2 + 12 * i;
            put(field, e.tag, 2);
            put(field + 2, e.type, 2);
            put(field + 4, e.count, 4);
            if (e.rawValueField) {
                put(field + 8, e.valueField, 4);
            } else if (e.directory) {
                pending.emplace_back(field + 8, e.directory.get());
            } else {
                value(e, field + 8);
            }
        }
        for (const auto& [field, sub] : pending) put(field, offsetOf(directory(*sub)), 4);
        if (dir.nextDirectory()) {
            const size_t nextAt = directory(*dir.nextDirectory());
            put(at + 2 + 12 * entries.size(), offsetOf(nextAt), 4);
        }
        return at;
    }

  private:
    void value(const TiffEntry& e, size_t field) {
        const size_t size = size_t(e.count) * TiffTypeSize(e.type);
        size_t dataAt = field;
        if (size > 4) {
            dataAt = append(size);
            put(field, offsetOf(dataAt), 4);
        }
        if (e.placed) {
            const std::vector<uint8_t> bytes = e.placed(offsetOf(dataAt));
            if (size > 4) m_out.resize(std::max(m_out.size(), dataAt + bytes.size()));
            std::memcpy(m_out.data() + dataAt, bytes.data(),
                        std::min(bytes.size(), std::max<size_t>(size, 4)));
            return;
        }
        if (!e.bytes.empty()) {
            std::memcpy(m_out.data() + dataAt, e.bytes.data(),
                        std::min(e.bytes.size(), std::max<size_t>(size, 4)));
            return;
        }
        const int itemSize = e.type == kRational || e.type == kSRational ? 4 : TiffTypeSize(e.type);
        for (size_t k = 0; k < e.numbers.size(); ++k)
            put(dataAt + k * itemSize, e.numbers[k], itemSize);
    }

    ByteOrder m_order;
    uint32_t m_start;
    std::vector<uint8_t> m_out;
};

}  // namespace

TiffDirectory& TiffDirectory::ascii(uint16_t tag, const std::string& text) {
    return asciiExact(tag, text + '\0');
}

TiffDirectory& TiffDirectory::asciiExact(uint16_t tag, const std::string& text) {
    return bytes(tag, kAscii, std::vector<uint8_t>(text.begin(), text.end()));
}

TiffDirectory& TiffDirectory::shorts(uint16_t tag, std::vector<uint16_t> values) {
    m_entries.push_back(
        numberEntry(tag, kShort, {values.begin(), values.end()}, uint32_t(values.size())));
    return *this;
}

TiffDirectory& TiffDirectory::sshorts(uint16_t tag, std::vector<int16_t> values) {
    std::vector<uint64_t> numbers;
    for (int16_t v : values) numbers.push_back(uint16_t(v));
    m_entries.push_back(numberEntry(tag, kSShort, numbers, uint32_t(values.size())));
    return *this;
}

TiffDirectory& TiffDirectory::longs(uint16_t tag, std::vector<uint32_t> values) {
    m_entries.push_back(
        numberEntry(tag, kLong, {values.begin(), values.end()}, uint32_t(values.size())));
    return *this;
}

TiffDirectory& TiffDirectory::slongs(uint16_t tag, std::vector<int32_t> values) {
    std::vector<uint64_t> numbers;
    for (int32_t v : values) numbers.push_back(uint32_t(v));
    m_entries.push_back(numberEntry(tag, kSLong, numbers, uint32_t(values.size())));
    return *this;
}

TiffDirectory& TiffDirectory::rationals(uint16_t tag,
                                        std::vector<std::pair<uint32_t, uint32_t>> values) {
    std::vector<uint64_t> numbers;
    for (auto [n, d] : values) {
        numbers.push_back(n);
        numbers.push_back(d);
    }
    m_entries.push_back(numberEntry(tag, kRational, numbers, uint32_t(values.size())));
    return *this;
}

TiffDirectory& TiffDirectory::srationals(uint16_t tag,
                                         std::vector<std::pair<int32_t, int32_t>> values) {
    std::vector<uint64_t> numbers;
    for (auto [n, d] : values) {
        numbers.push_back(uint32_t(n));
        numbers.push_back(uint32_t(d));
    }
    m_entries.push_back(numberEntry(tag, kSRational, numbers, uint32_t(values.size())));
    return *this;
}

TiffDirectory& TiffDirectory::bytes(uint16_t tag, uint16_t type, std::vector<uint8_t> data) {
    TiffEntry e;
    e.tag = tag;
    e.type = type;
    e.count = static_cast<uint32_t>(data.size() / TiffTypeSize(type));
    e.bytes = std::move(data);
    m_entries.push_back(std::move(e));
    return *this;
}

TiffDirectory& TiffDirectory::subDirectory(uint16_t tag, const TiffDirectory& directory) {
    TiffEntry e;
    e.tag = tag;
    e.type = kLong;
    e.count = 1;
    e.directory = std::make_shared<TiffDirectory>(directory);
    m_entries.push_back(std::move(e));
    return *this;
}

TiffDirectory& TiffDirectory::placedBytes(uint16_t tag, uint16_t type, uint32_t count,
                                          std::function<std::vector<uint8_t>(uint32_t)> make) {
    TiffEntry e;
    e.tag = tag;
    e.type = type;
    e.count = count;
    e.placed = std::move(make);
    m_entries.push_back(std::move(e));
    return *this;
}

TiffDirectory& TiffDirectory::raw(uint16_t tag, uint16_t type, uint32_t count,
                                  uint32_t valueField) {
    TiffEntry e;
    e.tag = tag;
    e.type = type;
    e.count = count;
    e.rawValueField = true;
    e.valueField = valueField;
    m_entries.push_back(std::move(e));
    return *this;
}

TiffDirectory& TiffDirectory::next(const TiffDirectory& directory) {
    m_next = std::make_shared<TiffDirectory>(directory);
    return *this;
}

std::vector<uint8_t> BuildTiff(const TiffDirectory& first, ByteOrder order) {
    Writer writer(order, 0);
    auto& out = writer.out();
    out = {uint8_t(order == ByteOrder::Little ? 'I' : 'M'),
           uint8_t(order == ByteOrder::Little ? 'I' : 'M'),
           0,
           0,
           0,
           0,
           0,
           0};
    writer.put(2, 42, 2);
    writer.put(4, writer.offsetOf(writer.directory(first)), 4);
    return out;
}

std::vector<uint8_t> BuildDirectoryAt(const TiffDirectory& directory, ByteOrder order,
                                      uint32_t start) {
    Writer writer(order, start);
    writer.directory(directory);
    return writer.out();
}

std::vector<uint8_t> JpegSegment(uint8_t marker, const std::vector<uint8_t>& payload) {
    if (payload.size() + 2 > 0xFFFF) throw std::length_error("JPEG segment over 64 KiB");
    std::vector<uint8_t> segment{0xFF, marker, uint8_t((payload.size() + 2) >> 8),
                                 uint8_t(payload.size() + 2)};
    segment.insert(segment.end(), payload.begin(), payload.end());
    return segment;
}

std::vector<uint8_t> ExifSegment(const std::vector<uint8_t>& tiff) {
    std::vector<uint8_t> payload{'E', 'x', 'i', 'f', 0, 0};
    payload.insert(payload.end(), tiff.begin(), tiff.end());
    return JpegSegment(0xE1, payload);
}

std::vector<uint8_t> InsertAfterSoi(const std::vector<uint8_t>& jpeg,
                                    const std::vector<std::vector<uint8_t>>& segments) {
    std::vector<uint8_t> out(jpeg.begin(), jpeg.begin() + std::min<size_t>(2, jpeg.size()));
    for (const auto& s : segments) out.insert(out.end(), s.begin(), s.end());
    if (jpeg.size() > 2) out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

std::vector<uint8_t> EncodeTestJpeg(int width, int height, const TestJpegOptions& options) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = options.components;
    cinfo.in_color_space = options.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, options.quality, TRUE);
    cinfo.density_unit = static_cast<UINT8>(options.densityUnit);
    cinfo.X_density = static_cast<UINT16>(options.xDensity);
    cinfo.Y_density = static_cast<UINT16>(options.yDensity);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * options.components);
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < width; ++x) {
            const uint32_t rgb = options.pixel
                                     ? options.pixel(x, y)
                                     : (uint32_t(x * 255 / std::max(1, width - 1)) << 16) |
                                           (uint32_t(y * 255 / std::max(1, height - 1)) << 8) | 128;
            if (options.components == 1) {
                row[x] = JSAMPLE(rgb & 0xFF);
            } else {
                row[3 * x] = JSAMPLE(rgb >> 16);
                row[3 * x + 1] = JSAMPLE(rgb >> 8);
                row[3 * x + 2] = JSAMPLE(rgb);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

std::vector<uint8_t> EncodeCmykJpeg(int width, int height, const uint8_t ink[4], bool asYcck) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, asYcck ? JCS_YCCK : JCS_CMYK);
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(size_t(width) * 4);
    for (int x = 0; x < width; ++x) std::memcpy(&row[size_t(x) * 4], ink, 4);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

}  // namespace corvelle::testing
