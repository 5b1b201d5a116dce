// \brief Line splitting and column padding.
#include "crash/report/text_lines.h"

#include <algorithm>

namespace kestrix {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

std::string_view TrimTrailingBlanks(std::string_view line) {
    const std::size_t last = line.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : line.substr(0, last + 1);
}

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    return text;
}

std::string PadRight(std::string_view text, std::size_t width) {
    std::string padded(text);
    PadTo(padded, width);
    return padded;
}

void PadTo(std::string& text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
}

}  // namespace kestrix
