// \brief A table of text cells printed for a person: columns separated by two spaces, every cell
// right-aligned to the widest of its column, so that numbers with the same decimals line up.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace gatool {

class TextTable {
  public:
    explicit TextTable(std::vector<std::string> header);

    // A row with as many cells as the header has (std::invalid_argument otherwise).
    void AddRow(std::vector<std::string> cells);

    // The header, then the rows. Widths count characters, not bytes, so that a multi-byte decimal
    // or grouping mark keeps the columns aligned.
    void Print(std::ostream& out) const;

  private:
    std::vector<std::vector<std::string>> m_rows;  // the header first
};

}  // namespace gatool
