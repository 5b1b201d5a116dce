// \brief Finding the columns of aligned lines.
#include "crash/ui/text_columns.h"

#include <algorithm>

namespace kestrix {
namespace {

bool BlankAt(const std::string& line, std::size_t position) {
    return position >= line.size() || line[position] == ' ';
}

std::string Trimmed(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, std::min(text.find_first_not_of(' '), text.size()));
    return text;
}

}  // namespace

std::vector<std::vector<std::string>> SplitTextColumns(const std::vector<std::string>& lines,
                                                       std::size_t columnCount) {
    std::size_t width = 0;
    for (const std::string& line : lines) {
        width = std::max(width, line.size());
    }
    std::vector<std::size_t> starts = {0};
    for (std::size_t position = 1; position < width && starts.size() < columnCount; ++position) {
        const auto allBlank = [&](std::size_t at) {
            return std::all_of(lines.begin(), lines.end(),
                               [&](const std::string& line) { return BlankAt(line, at); });
        };
        if (allBlank(position - 1) && !allBlank(position)) {
            starts.push_back(position);
        }
    }
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : lines) {
        std::vector<std::string> cells;
        for (std::size_t column = 0; column < starts.size(); ++column) {
            const std::size_t from = std::min(starts[column], line.size());
            const std::size_t to = column + 1 < starts.size()
                                       ? std::min(starts[column + 1], line.size())
                                       : line.size();
            cells.push_back(Trimmed(line.substr(from, to - from)));
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

}  // namespace kestrix
