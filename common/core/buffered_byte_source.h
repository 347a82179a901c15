#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "core/byte_source.h"

namespace corvelle {

// A picture's metadata sits almost always in its first few kilobytes, and on a virtual
// machine every system call costs more than copying those bytes. This source reads the
// head of another source once, in one read, and answers every read inside it from memory.
// A read beyond the head (a TIFF whose directories lie at its end, a large maker note)
// fills one more buffer of the same size around what was asked, so a walk over a distant
// directory costs one read too, not one per entry. Like every source, one thread's at a time.
class HeadBufferedSource : public ByteSource {
  public:
    // A camera's EXIF block, maker note and all, mostly fits in 16 KiB. Copying more than that
    // of every file costs more, over a folder of pictures, than one more read for the few
    // larger blocks.
    static constexpr size_t kDefaultHeadLength = 16 * 1024;

    explicit HeadBufferedSource(std::unique_ptr<ByteSource> inner,
                                size_t headLength = kDefaultHeadLength);
    // Over a source the caller keeps alive.
    explicit HeadBufferedSource(const ByteSource& inner, size_t headLength = kDefaultHeadLength);

    uint64_t size() const override { return m_inner.size(); }
    // The bytes held from offset 0 (fewer than the head length only for a shorter source or
    // a read that came up short).
    std::span<const uint8_t> head() const { return {m_head.get(), m_headLength}; }

  protected:
    size_t fetch(uint64_t offset, void* out, size_t count) const override;

  private:
    size_t fetchFromWindow(uint64_t offset, uint8_t* out, size_t count) const;
    void readHead(size_t headLength);

    std::unique_ptr<ByteSource> m_owned;
    const ByteSource& m_inner;
    size_t m_windowLength;
    // Not a vector: zeroing 64 KiB a file before reading over them costs as much as a parse.
    std::unique_ptr<uint8_t[]> m_head;
    size_t m_headLength = 0;
    mutable std::vector<uint8_t> m_window;
    mutable uint64_t m_windowStart = 0;
};

}  // namespace corvelle
