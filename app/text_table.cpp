// \brief Aligned text tables; see text_table.h.
#include "app/text_table.h"

#include <algorithm>
#include <stdexcept>

namespace gatool {

namespace {

// The characters of UTF-8 text: every byte but the continuation bytes.
std::size_t CharacterCount(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

}  // namespace

TextTable::TextTable(std::vector<std::string> header) {
    m_rows.push_back(std::move(header));
}

void TextTable::AddRow(std::vector<std::string> cells) {
    if (cells.size() != m_rows.front().size()) {
        throw std::invalid_argument("a table row needs one cell per column");
    }
    m_rows.push_back(std::move(cells));
}

void TextTable::Print(std::ostream& out) const {
    std::vector<std::size_t> widths(m_rows.front().size());
    for (const std::vector<std::string>& row : m_rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            widths[c] = std::max(widths[c], CharacterCount(row[c]));
        }
    }
    for (const std::vector<std::string>& row : m_rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            out << (c > 0 ? "  " : "") << std::string(widths[c] - CharacterCount(row[c]), ' ')
                << row[c];
        }
        out << '\n';
    }
}

}  // namespace gatool
