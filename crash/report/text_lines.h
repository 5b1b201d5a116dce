// \brief Small text helpers of the report: lines of a text, trailing blanks, padded columns.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kestrix {

// The lines of a text, split at carriage return, line feed or a carriage-return/line-feed pair;
// a line break at the end of the text ends the last line. An empty text has no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

std::string_view TrimTrailingBlanks(std::string_view line);

// The lines joined with carriage return / line feed, none after the last.
std::string JoinLines(const std::vector<std::string>& lines);

// The text followed by blanks up to width characters (a longer text stays as it is).
std::string PadRight(std::string_view text, std::size_t width);
void PadTo(std::string& text, std::size_t width);

// The width of a column: the longest of the texts that text(row) gives for the rows.
template <typename Rows, typename Text>
std::size_t ColumnWidth(const Rows& rows, Text text) {
    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, std::string_view(text(row)).size());
    return width;
}

}  // namespace kestrix
