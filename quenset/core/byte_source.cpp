#include "core/byte_source.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace corvelle {

size_t MemoryByteSource::readAt(uint64_t offset, std::span<uint8_t> out) const {
    if (offset >= m_bytes.size()) return 0;
    const size_t count = size_t(std::min<uint64_t>(out.size(), m_bytes.size() - offset));
    std::memcpy(out.data(), m_bytes.data() + offset, count);
    return count;
}

size_t FileByteSource::readAt(uint64_t offset, std::span<uint8_t> out) const {
    size_t done = 0;
    while (done < out.size()) {
        if (offset + done > uint64_t(INT64_MAX)) break;
        const ssize_t got = pread(m_fd, out.data() + done, out.size() - done, off_t(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += size_t(got);
    }
    return done;
}

}  // namespace corvelle
