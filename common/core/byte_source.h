#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace corvelle {

enum class ByteOrder { kLittleEndian, kBigEndian };

// A bounded reader over picture bytes. Every read stops at the end of the source and says how
// much it delivered, so a parser can never read past what is there. Reads at an offset go
// straight to the bytes, so a large raw file is only read where a parser looks.
class ByteSource {
  public:
    virtual ~ByteSource() = default;

    virtual uint64_t size() const = 0;

    uint64_t position() const { return m_position; }
    // Positions past the end are refused and leave the position where it was.
    bool seek(uint64_t position);
    // Copies up to count bytes from the position and moves past them; returns how many.
    size_t read(void* out, size_t count);
    // Reads at offset without moving the position.
    size_t readAt(uint64_t offset, void* out, size_t count) const;
    size_t readAt(uint64_t offset, std::span<uint8_t> out) const {
        return readAt(offset, out.data(), out.size());
    }

    std::optional<uint16_t> readUint16(ByteOrder order);
    std::optional<uint32_t> readUint32(ByteOrder order);

  protected:
    // count is already limited to what lies between offset and the end.
    virtual size_t fetch(uint64_t offset, void* out, size_t count) const = 0;

  private:
    uint64_t m_position = 0;
};

// Bytes held by the caller, who keeps them alive while the source is used.
class MemoryByteSource : public ByteSource {
  public:
    explicit MemoryByteSource(std::span<const uint8_t> bytes) : m_bytes(bytes) {}
    uint64_t size() const override { return m_bytes.size(); }

  protected:
    size_t fetch(uint64_t offset, void* out, size_t count) const override;

  private:
    std::span<const uint8_t> m_bytes;
};

// A window (start, length) of an open file, read straight through the file descriptor.
class FileByteSource : public ByteSource {
  public:
    // The whole file; none when it cannot be opened for reading.
    static std::unique_ptr<FileByteSource> open(const std::string& path);
    // A file of an open folder, a symbolic link not followed; none unless a regular file.
    static std::unique_ptr<FileByteSource> openAt(int dirFd, const std::string& name);
    // Takes over a descriptor the caller opened: the whole file, closed with the source.
    // None (and the descriptor closed) unless it is a regular file.
    static std::unique_ptr<FileByteSource> adopt(int fd);
    // The first `length` bytes of a descriptor the caller opened and keeps.
    FileByteSource(int fd, uint64_t length) : m_fd(fd), m_start(0), m_length(length) {}
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    uint64_t size() const override { return m_length; }

  protected:
    size_t fetch(uint64_t offset, void* out, size_t count) const override;

  private:
    FileByteSource(int fd, uint64_t start, uint64_t length)
        : m_fd(fd), m_start(start), m_length(length), m_owned(true) {}
    int m_fd;
    uint64_t m_start;
    uint64_t m_length;
    bool m_owned = false;  // closed with the source when it opened the file itself
};

}  // namespace corvelle
