#include "core/buffered_byte_source.h"

#include <algorithm>
#include <cstring>

namespace corvelle {

HeadBufferedSource::HeadBufferedSource(std::unique_ptr<ByteSource> inner, size_t headLength)
    : m_owned(std::move(inner)), m_inner(*m_owned), m_windowLength(std::max<size_t>(headLength, 1)) {
    readHead(headLength);
}

HeadBufferedSource::HeadBufferedSource(const ByteSource& inner, size_t headLength)
    : m_inner(inner), m_windowLength(std::max<size_t>(headLength, 1)) {
    readHead(headLength);
}

void HeadBufferedSource::readHead(size_t headLength) {
    const size_t wanted = size_t(std::min<uint64_t>(headLength, m_inner.size()));
    m_head.reset(new uint8_t[wanted]);
    m_headLength = m_inner.readAt(0, m_head.get(), wanted);
}

size_t HeadBufferedSource::fetch(uint64_t offset, void* out, size_t count) const {
    auto* bytes = static_cast<uint8_t*>(out);
    size_t done = 0;
    if (offset < m_headLength) {
        done = std::min<size_t>(count, m_headLength - size_t(offset));
        std::memcpy(bytes, m_head.get() + offset, done);
        // A head shorter than asked for means the source gave no more: nothing lies beyond.
        if (done == count || m_headLength < m_windowLength) return done;
    }
    return done + fetchFromWindow(offset + done, bytes + done, count - done);
}

size_t HeadBufferedSource::fetchFromWindow(uint64_t offset, uint8_t* out, size_t count) const {
    // A read larger than the window (a thumbnail, a whole strip) goes straight through.
    if (count > m_windowLength) return m_inner.readAt(offset, out, count);
    const bool inWindow = offset >= m_windowStart && offset - m_windowStart < m_window.size() &&
                          count <= m_window.size() - size_t(offset - m_windowStart);
    if (!inWindow) {
        // The window starts a little before the read: walks go forward mostly, but a maker
        // note's entries point back to data just before them.
        const uint64_t lead = std::min<uint64_t>(m_windowLength / 8, m_windowLength - count);
        m_windowStart = std::max<uint64_t>(offset > lead ? offset - lead : 0, m_headLength);
        m_windowStart = std::min(m_windowStart, offset);
        m_window.resize(size_t(std::min<uint64_t>(m_windowLength, size() - m_windowStart)));
        m_window.resize(m_inner.readAt(m_windowStart, m_window.data(), m_window.size()));
        if (offset - m_windowStart >= m_window.size()) return 0;
    }
    const size_t at = size_t(offset - m_windowStart);
    const size_t got = std::min(count, m_window.size() - at);
    std::memcpy(out, m_window.data() + at, got);
    return got;
}

}  // namespace corvelle
