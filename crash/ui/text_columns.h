// \brief Lines laid out in fixed-width columns split into their cells: a column starts where
// every line has a blank in front of it.
#pragma once

#include <string>
#include <vector>

namespace kestrix {

// At most `columnCount` cells per line: splits beyond that stay in the last cell.
std::vector<std::vector<std::string>> SplitTextColumns(const std::vector<std::string>& lines,
                                                       std::size_t columnCount);

}  // namespace kestrix
