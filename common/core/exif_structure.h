#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/byte_range.h"
#include "core/byte_source.h"

namespace corvelle {

// One TIFF structure holding EXIF data. Most files keep it in one stretch, read in place;
// a HEIF item stored in pieces, or a PNG's EXIF kept as hex text, gives its bytes put
// together instead.
struct ExifStructure {
    ByteRange place;                              // in the file; unused when gathered
    std::optional<std::vector<uint8_t>> gathered;

    bool operator==(const ExifStructure&) const = default;
};

// The structure's bytes as a source of their own: a window of the file, or the gathered bytes.
class ExifStructureSource : public ByteSource {
  public:
    ExifStructureSource(const ByteSource& file, const ExifStructure& structure);
    uint64_t size() const override { return m_length; }

  protected:
    size_t fetch(uint64_t offset, void* out, size_t count) const override;

  private:
    MemoryByteSource m_memory;
    const ByteSource& m_bytes;
    uint64_t m_start;
    uint64_t m_length;
};

}  // namespace corvelle
