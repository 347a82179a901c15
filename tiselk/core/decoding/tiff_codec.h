#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/decoding/tiff_directory.h"

struct tiff;

namespace corvelle {

// libtiff's decompressors (PackBits, LZW with predictor, CCITT modified Huffman, T.4, T.6,
// fill order) driven from a description we read ourselves: libtiff is given a directory of
// our making that holds only the values we accepted, and the raw bytes of each strip or tile.
class TiffCodec {
  public:
    // `height` may be less than the picture's when fewer strips or tiles are present;
    // `rawLengths` gives the length of each strip or tile in the order they are decoded.
    static std::unique_ptr<TiffCodec> open(const TiffImageDescription& description, uint32_t height,
                                           const std::vector<uint32_t>& rawLengths,
                                           uint64_t maxWorkingBytes);
    ~TiffCodec();
    TiffCodec(const TiffCodec&) = delete;
    TiffCodec& operator=(const TiffCodec&) = delete;

    // Decodes strip or tile `index` from raw (which libtiff may bit-reverse in place) into
    // out. False when the data breaks off or breaks the coding; out then holds what was
    // decoded before that.
    bool decode(uint32_t index, std::vector<uint8_t>& raw, uint8_t* out, uint64_t outBytes);

  private:
    TiffCodec() = default;
    std::vector<uint8_t> m_directory;
    uint64_t m_position = 0;
    struct tiff* m_tiff = nullptr;

    friend struct TiffCodecIo;
};

// The directory handed to libtiff, in the file's byte order (so that libtiff puts 16-bit
// samples into the machine's order as it would for the file itself).
std::vector<uint8_t> BuildCodecDirectory(const TiffImageDescription& description, uint32_t height,
                                         const std::vector<uint32_t>& rawLengths);

}  // namespace corvelle
