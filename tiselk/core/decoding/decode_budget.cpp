#include "core/decoding/decode_budget.h"

#include <algorithm>

namespace corvelle {

DecodeBudget& DecodeBudget::Process() {
    static DecodeBudget budget(kProcessBytes);
    return budget;
}

std::shared_ptr<DecodeBudget::Claim> DecodeBudget::claim(uint64_t bytes) {
    const std::lock_guard lock(m_mutex);
    if (bytes > Left()) return nullptr;
    m_held += bytes;
    return std::shared_ptr<Claim>(new Claim(*this, bytes));
}

std::shared_ptr<DecodeBudget::Claim> DecodeBudget::charge(uint64_t bytes) {
    const std::lock_guard lock(m_mutex);
    m_held += bytes;
    return std::shared_ptr<Claim>(new Claim(*this, bytes));
}

uint64_t DecodeBudget::held() const {
    const std::lock_guard lock(m_mutex);
    return m_held;
}

uint64_t DecodeBudget::available() const {
    const std::lock_guard lock(m_mutex);
    return Left();
}

void DecodeBudget::release(uint64_t bytes) {
    const std::lock_guard lock(m_mutex);
    m_held -= std::min(bytes, m_held);
}

DecodeBudget::Claim::~Claim() { m_budget.release(m_bytes); }

void DecodeBudget::Claim::shrinkTo(uint64_t bytes) {
    if (bytes >= m_bytes) return;
    m_budget.release(m_bytes - bytes);
    m_bytes = bytes;
}

std::string TooLargeReason(uint64_t width, uint64_t height, uint64_t bytes) {
    const uint64_t megabytes = (bytes + (uint64_t(1) << 20) - 1) >> 20;
    return "too large (" + std::to_string(width) + " x " + std::to_string(height) + ", " +
           std::to_string(megabytes) + " MB)";
}

}  // namespace corvelle
