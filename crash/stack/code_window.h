// \brief TCodeWindow: a block of code bytes read at once through the guarded reads, so that a run
// of instructions is decoded with one read per block instead of one per instruction.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kestrix {

class TCodeWindow {
  public:
    // The bytes from address on, as many as an instruction may need or as far as the memory can
    // be read; empty when address cannot be read.
    std::span<const std::byte> At(std::uintptr_t address);

  private:
    static constexpr std::size_t BlockSize = 4096;

    std::array<std::byte, BlockSize> m_bytes{};
    std::uintptr_t m_start = 0;
    std::size_t m_size = 0;
    // Whether the block ends where the memory stops being readable rather than at its size.
    bool m_endsReadable = false;
};

}  // namespace kestrix
