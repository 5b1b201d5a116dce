// \brief An alternate signal stack for the calling thread, so that a fault handler can still run
// when the thread's own stack has overflowed.
#pragma once

#include <cstddef>

namespace kestrix {

// Installs a stack of its own for signal handlers in the calling thread unless the thread already
// has one, and takes it away again at the end of its life (in the same thread).
class AlternateSignalStack {
  public:
    AlternateSignalStack();
    ~AlternateSignalStack();
    AlternateSignalStack(const AlternateSignalStack&) = delete;
    AlternateSignalStack& operator=(const AlternateSignalStack&) = delete;

  private:
    void* m_mapping = nullptr;
    std::size_t m_mappingSize = 0;
};

}  // namespace kestrix
