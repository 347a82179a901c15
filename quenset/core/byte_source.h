#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace corvelle {

// Random access to the bytes of a picture, so the date lookup reads only the few pieces it
// needs from a large raw file and the same code runs over a buffer in tests and the fuzzer.
class ByteSource {
  public:
    virtual ~ByteSource() = default;
    // Copies up to out.size() bytes from the offset; the count read, short at the end.
    virtual size_t readAt(uint64_t offset, std::span<uint8_t> out) const = 0;
    virtual uint64_t size() const = 0;
};

class MemoryByteSource final : public ByteSource {
  public:
    explicit MemoryByteSource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    size_t readAt(uint64_t offset, std::span<uint8_t> out) const override;
    uint64_t size() const override { return m_bytes.size(); }

  private:
    std::span<const uint8_t> m_bytes;
};

// Reads an open file descriptor with pread; the descriptor stays the caller's.
class FileByteSource final : public ByteSource {
  public:
    FileByteSource(int fd, uint64_t size) : m_fd(fd), m_size(size) {}
    size_t readAt(uint64_t offset, std::span<uint8_t> out) const override;
    uint64_t size() const override { return m_size; }

  private:
    int m_fd;
    uint64_t m_size;
};

}  // namespace corvelle
