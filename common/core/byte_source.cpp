#include "core/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace corvelle {

bool ByteSource::seek(uint64_t position) {
    if (position > size()) return false;
    m_position = position;
    return true;
}

size_t ByteSource::readAt(uint64_t offset, void* out, size_t count) const {
    const uint64_t total = size();
    if (offset >= total || count == 0) return 0;
    const uint64_t left = total - offset;
    return fetch(offset, out, count < left ? count : static_cast<size_t>(left));
}

size_t ByteSource::read(void* out, size_t count) {
    const size_t got = readAt(m_position, out, count);
    m_position += got;
    return got;
}

std::optional<uint16_t> ByteSource::readUint16(ByteOrder order) {
    uint8_t b[2];
    if (read(b, 2) != 2) return std::nullopt;
    return order == ByteOrder::kLittleEndian ? uint16_t(b[0] | b[1] << 8)
                                             : uint16_t(b[1] | b[0] << 8);
}

std::optional<uint32_t> ByteSource::readUint32(ByteOrder order) {
    uint8_t b[4];
    if (read(b, 4) != 4) return std::nullopt;
    if (order == ByteOrder::kLittleEndian) {
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
    return uint32_t(b[3]) | uint32_t(b[2]) << 8 | uint32_t(b[1]) << 16 | uint32_t(b[0]) << 24;
}

size_t MemoryByteSource::fetch(uint64_t offset, void* out, size_t count) const {
    std::memcpy(out, m_bytes.data() + offset, count);
    return count;
}

std::unique_ptr<FileByteSource> FileByteSource::open(const std::string& path) {
    // Not blocking: a named pipe given by mistake is refused instead of waiting for a writer.
    return adopt(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
}

std::unique_ptr<FileByteSource> FileByteSource::openAt(int dirFd, const std::string& name) {
    // Not blocking either: a name swapped for a pipe since a listing must not hang a run.
    return adopt(::openat(dirFd, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
}

std::unique_ptr<FileByteSource> FileByteSource::adopt(int fd) {
    if (fd < 0) return nullptr;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<FileByteSource>(
        new FileByteSource(fd, 0, static_cast<uint64_t>(info.st_size)));
}

FileByteSource::~FileByteSource() {
    if (m_owned) ::close(m_fd);
}

size_t FileByteSource::fetch(uint64_t offset, void* out, size_t count) const {
    size_t done = 0;
    auto* bytes = static_cast<uint8_t*>(out);
    while (done < count) {
        const uint64_t at = m_start + offset + done;
        if (at > uint64_t(INT64_MAX)) break;
        const ssize_t got = ::pread(m_fd, bytes + done, count - done, static_cast<off_t>(at));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

}  // namespace corvelle
