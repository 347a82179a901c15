#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace corvelle {

// The memory the pictures of a run may take at once, shared by its workers. A picture
// reserves what it will take before it is decoded and waits while the others leave too
// little room; a picture needing more than the whole budget is refused by its caller.
class MemoryBudget {
  public:
    explicit MemoryBudget(uint64_t bytes) : m_total(bytes) {}
    MemoryBudget(const MemoryBudget&) = delete;
    MemoryBudget& operator=(const MemoryBudget&) = delete;

    uint64_t total() const { return m_total; }

    // Held for as long as the picture's memory is in use.
    class Reservation {
      public:
        Reservation() = default;
        Reservation(Reservation&& other) noexcept { *this = std::move(other); }
        Reservation& operator=(Reservation&& other) noexcept;
        ~Reservation() { release(); }
        void release();

      private:
        friend class MemoryBudget;
        Reservation(MemoryBudget* budget, uint64_t bytes) : m_budget(budget), m_bytes(bytes) {}
        MemoryBudget* m_budget = nullptr;
        uint64_t m_bytes = 0;
    };

    // Waits until bytes fit beside what the others hold; bytes over the whole budget are
    // counted as the whole budget, so such a picture runs alone.
    Reservation reserve(uint64_t bytes);
    uint64_t inUse() const;

  private:
    void give(uint64_t bytes);

    const uint64_t m_total;
    mutable std::mutex m_mutex;
    std::condition_variable m_room;
    uint64_t m_used = 0;
};

}  // namespace corvelle
