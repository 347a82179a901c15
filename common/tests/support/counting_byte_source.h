#pragma once

#include <memory>
#include <utility>

#include "core/byte_source.h"

namespace corvelle::testing {

// What the readers asked of the files they opened. Each open of a FileByteSource is one
// open and one fstat, each read that reaches it one pread, each source destroyed one close.
struct SourceCalls {
    int opens = 0;
    int reads = 0;
    int closes = 0;
};

// Passes every read on to the source below it and counts it, and counts its own end.
class CountingByteSource : public ByteSource {
  public:
    CountingByteSource(std::unique_ptr<ByteSource> inner, SourceCalls& calls)
        : m_inner(std::move(inner)), m_calls(calls) {
        ++m_calls.opens;
    }
    ~CountingByteSource() override { ++m_calls.closes; }
    uint64_t size() const override { return m_inner->size(); }

  protected:
    size_t fetch(uint64_t offset, void* out, size_t count) const override {
        ++m_calls.reads;
        return m_inner->readAt(offset, out, count);
    }

  private:
    std::unique_ptr<ByteSource> m_inner;
    SourceCalls& m_calls;
};

}  // namespace corvelle::testing
