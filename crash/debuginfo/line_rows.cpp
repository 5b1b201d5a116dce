// \brief Line rows and sequence ends into line entries.
#include "crash/debuginfo/line_rows.h"

namespace kestrix {

void LineRows::Add(std::uint64_t address, std::int32_t line, bool endOfSequence) {
    if (address < m_ranges.BaseOfCode || address >= m_ranges.TopOfCode) {
        return;
    }
    const auto offset = std::uint32_t(address - m_ranges.BaseOfCode);
    if (endOfSequence) {
        m_sequenceEnds.insert(offset);
    } else {
        m_lines.push_back({offset, line});
        m_rowAddresses.insert(offset);
    }
}

void LineRows::MoveInto(MapFileContent& content) {
    for (const std::uint32_t end : m_sequenceEnds) {
        if (!m_rowAddresses.contains(end)) {
            m_lines.push_back({end, 0});
        }
    }
    content.Lines.insert(content.Lines.end(), m_lines.begin(), m_lines.end());
    m_lines.clear();
}

}  // namespace kestrix
