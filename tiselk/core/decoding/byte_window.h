#pragma once

#include <algorithm>

#include "core/byte_range.h"
#include "core/byte_source.h"

namespace corvelle {

// A stretch of another source seen as a source of its own (an embedded JPEG picture), so
// that a decoder reads only what it needs of it and never past it.
class ByteWindow : public ByteSource {
  public:
    ByteWindow(const ByteSource& whole, ByteRange range)
        : m_whole(whole),
          m_range{range.offset, range.offset > whole.size()
                                    ? 0
                                    : std::min(range.length, whole.size() - range.offset)} {}
    uint64_t size() const override { return m_range.length; }

  protected:
    size_t fetch(uint64_t offset, void* out, size_t count) const override {
        return m_whole.readAt(m_range.offset + offset, out, count);
    }

  private:
    const ByteSource& m_whole;
    ByteRange m_range;
};

}  // namespace corvelle
