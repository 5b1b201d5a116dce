// \brief The code window: refilled from the address asked for whenever an instruction there
// could reach past the block.
#include "crash/stack/code_window.h"

#include <algorithm>

#include "crash/stack/code_disassembler.h"
#include "crash/stack/guarded_read.h"

namespace kestrix {

std::span<const std::byte> TCodeWindow::At(std::uintptr_t address) {
    const bool inside = address >= m_start && address - m_start < m_size;
    if (!inside || (address - m_start + MaxInstructionLength > m_size && m_endsReadable)) {
        m_start = address;
        m_size = TryReadPrefix(address, m_bytes);
        m_endsReadable = m_size == m_bytes.size();
    }
    if (address < m_start || address - m_start >= m_size)
        return {};
    const std::size_t offset = address - m_start;
    return std::span<const std::byte>{m_bytes}.subspan(
        offset, std::min(MaxInstructionLength, m_size - offset));
}

}  // namespace kestrix
