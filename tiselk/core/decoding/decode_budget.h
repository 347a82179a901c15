#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace corvelle {

// The decoded pictures the process holds at once, counted in bytes against one budget: the
// shown picture, the photo view's pictures decoded ahead, and the working copies a decode
// needs while it runs. A picture whose bytes do not fit is not decoded.
class DecodeBudget {
  public:
    // What the program allows itself: 1 GiB.
    static constexpr uint64_t kProcessBytes = uint64_t(1) << 30;
    explicit DecodeBudget(uint64_t total) : m_total(total) {}
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    // The one budget of the process.
    static DecodeBudget& Process();

    // Bytes held until the claim is dropped (or shrunk). Claims are shared so that a picture
    // handed to several owners gives its bytes back when the last one lets go.
    class Claim {
      public:
        ~Claim();
        Claim(const Claim&) = delete;
        Claim& operator=(const Claim&) = delete;
        uint64_t bytes() const { return m_bytes; }
        // Gives back what the decode needed only while it ran.
        void shrinkTo(uint64_t bytes);

      private:
        friend class DecodeBudget;
        Claim(DecodeBudget& budget, uint64_t bytes) : m_budget(budget), m_bytes(bytes) {}
        DecodeBudget& m_budget;
        uint64_t m_bytes;
    };

    // A claim on `bytes` beside what is held, or null when they do not fit.
    std::shared_ptr<Claim> claim(uint64_t bytes);
    // A claim on bytes already taken (a picture decoded within what was left), whether or
    // not they fit: they are held all the same.
    std::shared_ptr<Claim> charge(uint64_t bytes);
    uint64_t held() const;
    uint64_t total() const { return m_total; }
    uint64_t available() const;

  private:
    void release(uint64_t bytes);
    // What is left; 0 when charges went past the total. The mutex is held.
    uint64_t Left() const { return m_held >= m_total ? 0 : m_total - m_held; }

    const uint64_t m_total;
    mutable std::mutex m_mutex;
    uint64_t m_held = 0;
};

// The reason a picture is not decoded: "too large (18000 x 18000, 927 MB)", the bytes in
// whole megabytes rounded up.
std::string TooLargeReason(uint64_t width, uint64_t height, uint64_t bytes);

}  // namespace corvelle
