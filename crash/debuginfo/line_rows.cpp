// \brief Line rows and sequence ends into line entries.
#include "crash/debuginfo/line_rows.h"

#include <algorithm>
#include <iterator>

namespace kestrix {

bool LineRows::OverlapsTaken(std::uint32_t start, std::uint32_t end) const {
    // The sequences taken do not overlap: only the last one starting before end can reach start.
    const auto next = m_taken.lower_bound(end);
    return next != m_taken.begin() && std::prev(next)->second > start;
}

void LineRows::Take(std::span<const MapLine> rows) {
    for (const MapLine& row : rows) {
        m_rowAddresses.insert(row.Address);
    }
    m_lines.insert(m_lines.end(), rows.begin(), rows.end());
}

void LineRows::Add(std::uint64_t address, std::int32_t line, bool endOfSequence) {
    bool inCode = address >= m_ranges.BaseOfCode && address < m_ranges.TopOfCode;
    const auto offset = std::uint32_t(address - m_ranges.BaseOfCode);
    if (!endOfSequence) {
        if (inCode) {
            m_sequence.push_back({offset, line});
        }
        if (m_order == TLineRowOrder::SortedByAddress) {
            Take(m_sequence);
            m_sequence.clear();
        }
        return;
    }
    if (m_order == TLineRowOrder::ProgramOrder && !m_sequence.empty()) {
        // Rows at or past the end describe no code; a sequence that ends past the code ends
        // with it.
        const bool endInCode = inCode || address == m_ranges.TopOfCode;
        if (endInCode) {
            std::erase_if(m_sequence,
                          [offset](const MapLine& row) { return row.Address >= offset; });
        }
        if (!m_sequence.empty()) {
            const auto [first, last] = std::ranges::minmax(m_sequence, {}, &MapLine::Address);
            const std::uint32_t end = endInCode ? offset : last.Address + 1;
            if (!OverlapsTaken(first.Address, end)) {
                m_taken.emplace(first.Address, end);
                Take(m_sequence);
            } else {
                inCode = false;  // a later copy: its end marks nothing either
            }
        }
        m_sequence.clear();
    }
    if (inCode) {
        m_sequenceEnds.insert(offset);
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
