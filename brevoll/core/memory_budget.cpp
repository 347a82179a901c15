#include "core/memory_budget.h"

#include <algorithm>
#include <utility>

namespace corvelle {

MemoryBudget::Reservation& MemoryBudget::Reservation::operator=(Reservation&& other) noexcept {
    if (this != &other) {
        release();
        m_budget = std::exchange(other.m_budget, nullptr);
        m_bytes = std::exchange(other.m_bytes, 0);
    }
    return *this;
}

void MemoryBudget::Reservation::release() {
    if (m_budget != nullptr) m_budget->give(m_bytes);
    m_budget = nullptr;
    m_bytes = 0;
}

MemoryBudget::Reservation MemoryBudget::reserve(uint64_t bytes) {
    bytes = std::min(bytes, m_total);
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [&] { return m_used + bytes <= m_total; });
    m_used += bytes;
    return Reservation(this, bytes);
}

uint64_t MemoryBudget::inUse() const {
    std::lock_guard lock(m_mutex);
    return m_used;
}

void MemoryBudget::give(uint64_t bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_used -= bytes;
    }
    m_room.notify_all();
}

}  // namespace corvelle
