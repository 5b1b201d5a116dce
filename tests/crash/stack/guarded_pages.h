// A test helper: two adjacent pages, one readable and writable and one without any access, so that
// reads fail at a known address.
#pragma once

#include <sys/mman.h>

#include <cstdint>
#include <stdexcept>

namespace kestrix {

inline constexpr std::size_t Page = 4096;

class GuardedPages {
  public:
    enum TLayout { InaccessibleAbove, InaccessibleBelow };

    explicit GuardedPages(TLayout layout) {
        void* pages =
            mmap(nullptr, 2 * Page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (pages == MAP_FAILED)
            throw std::runtime_error("cannot map the test pages");
        m_pages = static_cast<std::uint8_t*>(pages);
        m_readable = layout == InaccessibleAbove ? m_pages : m_pages + Page;
        m_inaccessible = layout == InaccessibleAbove ? m_pages + Page : m_pages;
        if (mprotect(m_inaccessible, Page, PROT_NONE) != 0)
            throw std::runtime_error("cannot protect the test page");
    }
    ~GuardedPages() { munmap(m_pages, 2 * Page); }
    GuardedPages(const GuardedPages&) = delete;
    GuardedPages& operator=(const GuardedPages&) = delete;

    std::uint8_t* Readable() const { return m_readable; }
    std::uintptr_t ReadableStart() const { return reinterpret_cast<std::uintptr_t>(m_readable); }
    std::uintptr_t InaccessibleStart() const {
        return reinterpret_cast<std::uintptr_t>(m_inaccessible);
    }

  private:
    std::uint8_t* m_pages = nullptr;
    std::uint8_t* m_readable = nullptr;
    std::uint8_t* m_inaccessible = nullptr;
};

}  // namespace kestrix
